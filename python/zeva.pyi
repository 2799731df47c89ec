"""Type stubs of the module zeva (1-D interpretation of geophysical soundings)."""

from typing import Optional, Sequence

import numpy as np
import numpy.typing as npt

class Error(RuntimeError):
    """A command refused or failed; the text is the program's message."""

class Warning(UserWarning):
    """A message the program showed."""

class Sounding:
    """One sounding: data, layered and smooth models, synthetics and results."""
    @property
    def name(self) -> str: ...
    @property
    def data_type(self) -> str: ...
    @property
    def ndata(self) -> int: ...
    @property
    def geometry(self) -> npt.NDArray[np.float32]: ...
    @property
    def values(self) -> npt.NDArray[np.float32]: ...
    @property
    def errors(self) -> npt.NDArray[np.float32]: ...
    @property
    def mask(self) -> npt.NDArray[np.bool_]: ...
    @property
    def synthetic(self) -> Optional[npt.NDArray[np.float32]]: ...
    @property
    def pcterr(self) -> Optional[float]: ...
    @property
    def rms(self) -> Optional[float]: ...
    @property
    def weighted_fit(self) -> Optional[float]: ...
    @property
    def model(self) -> dict: ...
    @property
    def smooth_model(self) -> Optional[dict]: ...
    @property
    def resolution(self) -> Optional[npt.NDArray[np.float32]]: ...
    @property
    def equivalence(self) -> Optional[dict]: ...
    @property
    def smooth_equivalence(self) -> Optional[dict]: ...
    @property
    def inversion(self) -> Optional[dict]: ...
    def info(self) -> dict:
        """Everything zeva-cli info --json prints, as a dict."""
    def copy(self) -> Sounding:
        """A whole copy of the sounding."""
    def write(self, path: str) -> None:
        """Write the sounding as a native .ZVR file."""

def default_sounding() -> Sounding:
    """The built-in default Schlumberger sounding."""
def example_sounding(data_type: str) -> Sounding:
    """A small example sounding of a data type."""
def read(path: str) -> Sounding:
    """Read a native .ZVR file."""
def write(sounding: Sounding, path: str) -> None:
    """Write a sounding as a native .ZVR file."""
def import_usf(path: str, sounding: int = 1) -> Sounding:
    """Import one sounding (numbered from 1) of a USF file."""
def import_usf_all(path: str) -> list[Sounding]:
    """Import every sounding of a USF file."""
def import_edi(path: str, mode: Optional[str] = None) -> Sounding:
    """Import MT data from a SEG standard EDI file (mode xy, yx, det or ssq)."""
def import_dat(path: str, data_type: str, columns: dict[str, int] = {},
               first_row: Optional[int] = None, last_row: Optional[int] = None,
               voltage_current: bool = False, ip_unit: str = "(pfe)", time_unit: str = "ms",
               voltage_unit: str = "(nV/A-m^2)", fixed_spacing: Optional[float] = None,
               fixed_height: Optional[float] = None, mode: Optional[int] = None) -> Sounding:
    """Import a flat ASCII column file with the columns given (1-based)."""
def new_sounding(data_type: str, geometry: npt.ArrayLike, values: npt.ArrayLike,
                 errors: Optional[npt.ArrayLike] = None, mask: Optional[npt.ArrayLike] = None,
                 *, name: Optional[str] = None, ip_unit: str = "(pfe)",
                 length_unit: str = "(meters)", mode: int = 1, dipole_length: float = 0.0,
                 loop: tuple[float, float] = (100.0, 100.0),
                 receiver: tuple[float, float] = (0.0, 0.0), current: float = 1.0,
                 turns: int = 1, receiver_area: float = 1.0, ramp: float = 0.0,
                 base_frequency: float = 0.0) -> Sounding:
    """A sounding of any data type from arrays, as File, New makes it."""
def forward(sounding: Sounding) -> Sounding:
    """The synthetic data and fit of the layered model."""
def set_model(sounding: Sounding, rho: Sequence[float], *,
              thick: Optional[Sequence[float]] = None, depth: Optional[Sequence[float]] = None,
              ip: Sequence[float] = (), fix: Sequence[int] = ()) -> Sounding:
    """Replace the layered model."""
def invert(sounding: Sounding, *, single: bool = False, resistivity_only: bool = False,
           ip_only: bool = False, iterations: Optional[int] = None,
           ratio: Optional[float] = None, floor: Optional[float] = None,
           weight_errors: Optional[bool] = None, robust: bool = False) -> Sounding:
    """Fit the layered model to the data (layered inversion)."""
def estimate(sounding: Sounding) -> Sounding:
    """Estimate a starting layered model from the data."""
def smooth(sounding: Sounding, *, method: Optional[str] = None, zmin: Optional[float] = None,
           zmax: Optional[float] = None, weight_errors: Optional[bool] = None,
           robust: bool = False) -> Sounding:
    """A smooth model by Occam's inversion ('occam') or ridge regression ('ridge')."""
def equivalence(sounding: Sounding, *, smooth: bool = False,
                weight_errors: Optional[bool] = None) -> Sounding:
    """Equivalence analysis of the inverted layered model or of the smooth model."""
def transfer(sounding: Sounding, noise: float, seed: int = 0) -> Sounding:
    """Make the synthetics the data, with Gaussian noise in percent (seed 0: the program's)."""
def shift(sounding: Sounding, *, mode: int = 1, target: int = 1) -> Sounding:
    """Shift the segments of Schlumberger data."""
def survey_import(source: str, folder: Optional[str] = None) -> list[dict]:
    """Index the soundings of a folder (or of a USF file, written into folder) in survey.json."""
def batch(folder: str, *, estimate: bool = False, invert: bool = False, smooth: bool = False,
          method: Optional[str] = None, equivalence: bool = False, weight_errors: bool = False,
          jobs: int = 0, in_place: bool = False) -> list[dict]:
    """Fit every sounding of a survey folder; one summary dict per sounding."""
def plot(sounding: Sounding, path: str, *, view: Optional[Sequence[str]] = None) -> None:
    """Draw the data and model plots into a .png, .svg, .pdf or .dxf file."""
def report(sounding: Sounding, path: str, *, sections: Optional[Sequence[str]] = None,
           user: Optional[str] = None) -> int:
    """Write the printed report as PDF; returns its page count."""
