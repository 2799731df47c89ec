"""The module against zeva-cli and against the physics of the soundings."""

import os
import signal
import time
import warnings

import numpy as np
import pytest

import zeva
from conftest import ROOT


@pytest.mark.parametrize("data_type", ["default", "Wenner Array", "Schlumberger Array",
                                       "MT Data xy, yx, inv.", "Central Loop TEM",
                                       "Horizontal Coplanar", "EM Conductivity Data"])
def test_forward_equals_zeva_cli_to_the_last_digit(cli, tmp_path, data_type):
    if data_type == "default":
        source, sounding = "default", zeva.default_sounding()
    else:
        source = tmp_path / "example.ZVR"
        cli("new", "--type", data_type, "-o", source)
        sounding = zeva.read(str(source))
    _, expected, _ = cli("forward", source, "--json")
    got = zeva.forward(sounding)
    assert got.pcterr == expected["pcterr"] and got.rms == expected["rms"]
    assert np.array_equal(got.synthetic, np.float32(expected["synthetic"]))
    assert got.info() == expected


def test_half_space_forward_gives_its_resistivity():
    # Segment steps off: a uniform earth then reads its own resistivity everywhere.
    flat = zeva.shift(zeva.default_sounding(), mode=3, target=2)
    s = zeva.forward(zeva.set_model(flat, [42.0]))
    np.testing.assert_allclose(s.synthetic[:, 0], 42.0, rtol=2e-3)


def test_inversion_of_a_noise_free_synthetic_recovers_the_model():
    true = zeva.set_model(zeva.shift(zeva.default_sounding(), mode=3, target=2),
                          [30.0, 300.0, 10.0], thick=[5.0, 20.0])
    data = zeva.transfer(zeva.forward(true), 0.0)
    start = zeva.set_model(data, [100.0, 100.0, 100.0], thick=[3.0, 30.0])
    fit = zeva.invert(start, iterations=30, ratio=0.999, floor=0.05)
    assert fit.pcterr < 0.5
    np.testing.assert_allclose(fit.model["resistivity"][[0, 2]], [30.0, 10.0], rtol=0.05)
    assert fit.inversion["iterations"] >= 1 and not fit.inversion["interrupted"]
    ranges = zeva.equivalence(fit).equivalence
    assert np.all(ranges["parmin"] <= fit.model["par"] * 1.0001)
    assert np.all(fit.model["par"] <= ranges["parmax"] * 1.0001)


def test_native_file_round_trip_keeps_everything(tmp_path):
    s = zeva.smooth(zeva.invert(zeva.default_sounding()), method="occam")
    s.write(str(tmp_path / "a.ZVR"))
    back = zeva.read(str(tmp_path / "a.ZVR"))
    without_run = lambda info: {k: v for k, v in info.items() if k != "inversion"}
    assert without_run(back.info()) == without_run(s.info())
    for name in ("geometry", "values", "errors", "mask", "synthetic"):
        assert np.array_equal(getattr(back, name), getattr(s, name))


def test_arrays_are_copies_and_commands_leave_their_input():
    s = zeva.default_sounding()
    values = s.values
    values[:] = -1.0
    model = s.model
    model["par"][:] = 0.0
    assert np.all(s.values > 0) and np.all(s.model["par"] > 0)
    fitted = zeva.forward(s)
    assert s.synthetic is None and fitted.synthetic is not None


def test_sounding_from_arrays_of_a_half_space_is_fit_by_a_uniform_model():
    spacing = np.array([1.0, 2.0, 5.0, 10.0, 20.0, 50.0])
    s = zeva.new_sounding("Wenner Array", spacing, np.full(6, 15.0), np.full(6, 0.75),
                          name="Line 1")
    assert s.name == "Line 1" and s.ndata == 6
    fit = zeva.forward(zeva.set_model(s, [15.0]))
    np.testing.assert_allclose(fit.synthetic[:, 0], 15.0, rtol=5e-3)
    with pytest.raises(ValueError):
        zeva.new_sounding("Schlumberger Array", spacing, np.ones(6))  # needs AB/2 and MN


def test_usf_import_of_one_and_all_soundings(cli, tmp_path):
    usf = tmp_path / "two.usf"
    cli("export", "default", "--format", "usf", "-o", usf)
    one = zeva.import_usf(str(usf))
    assert np.array_equal(one.values, zeva.default_sounding().values)
    assert len(zeva.import_usf_all(str(usf))) >= 1


@pytest.mark.parametrize("args", [
    ("read", "missing.ZVR"),
    ("equivalence", "default"),
    ("set_model", "default"),
    ("import_edi", "missing.edi"),
])
def test_every_error_is_an_exception_with_the_programs_text(cli, tmp_path, monkeypatch, args):
    monkeypatch.chdir(tmp_path)
    kind = args[0]
    if kind == "read":
        _, _, expected = cli("info", "missing.ZVR", check=False)
        call = lambda: zeva.read("missing.ZVR")
    elif kind == "equivalence":
        _, _, expected = cli("equivalence", "default", check=False)
        call = lambda: zeva.equivalence(zeva.default_sounding())
    elif kind == "set_model":
        _, _, expected = cli("set-model", "default", "--rho", "10,20", "--thick", "1,2",
                             "-o", "x.ZVR", check=False)
        call = lambda: zeva.set_model(zeva.default_sounding(), [10, 20], thick=[1, 2])
    else:
        _, _, expected = cli("import-edi", "missing.edi", "-o", "x.ZVR", check=False)
        call = lambda: zeva.import_edi("missing.edi")
    with pytest.raises(zeva.Error) as raised:
        call()
    assert str(raised.value) == expected.strip()


def test_information_messages_are_warnings_with_the_programs_text(cli, tmp_path):
    # A missing value (the file's EMPTY) at one frequency: that frequency is
    # left out with a message, and the import goes on.
    lines = (ROOT / "examples" / "data" / "station.edi").read_text().splitlines()
    row = next(i for i, line in enumerate(lines) if line.startswith(">ZXYR")) + 1
    lines[row] = "  1.000000E+32" + lines[row][len("  1.000000E+32"):]
    edi = tmp_path / "gap.edi"
    edi.write_text("\n".join(lines) + "\n")
    _, _, expected = cli("import-edi", edi, "-o", tmp_path / "gap.ZVR")
    with pytest.warns(zeva.Warning) as shown:
        s = zeva.import_edi(str(edi))
    assert [str(w.message) for w in shown] == expected.strip().splitlines()
    assert s.ndata == 39


def test_ctrl_c_stops_a_long_calculation_with_keyboard_interrupt():
    tem = zeva.example_sounding("Central Loop TEM")
    with warnings.catch_warnings():
        warnings.simplefilter("ignore", zeva.Warning)
        start = time.perf_counter()
        zeva.smooth(tem, method="occam")
        whole = time.perf_counter() - start
        # A signal from the kernel's timer, handled as Python handles Ctrl+C's
        # SIGINT, arrives while the calculation holds the interpreter.
        before = signal.signal(signal.SIGALRM, signal.default_int_handler)
        try:
            signal.setitimer(signal.ITIMER_REAL, whole / 5)
            start = time.perf_counter()
            with pytest.raises(KeyboardInterrupt):
                zeva.smooth(tem, method="occam")
            assert time.perf_counter() - start < 0.8 * whole
        finally:
            signal.setitimer(signal.ITIMER_REAL, 0)
            signal.signal(signal.SIGALRM, before)


def test_noise_follows_its_seed():
    model = zeva.forward(zeva.default_sounding())
    draw = lambda seed: zeva.transfer(model, 5.0, seed=seed).values
    assert np.array_equal(draw(3), draw(3)) and not np.array_equal(draw(3), draw(4))
    np.testing.assert_array_equal(zeva.transfer(model, 0.0).values, model.synthetic)


def test_batch_fits_each_sounding_of_a_survey_as_it_would_be_fitted_alone(tmp_path):
    first = zeva.default_sounding()
    second = zeva.set_model(first, [50.0, 20.0], thick=[10.0])
    first.write(str(tmp_path / "A.ZVR"))
    second.write(str(tmp_path / "B.ZVR"))
    assert [s["file"] for s in zeva.survey_import(str(tmp_path))] == ["A.ZVR", "B.ZVR"]
    outcomes = zeva.batch(str(tmp_path), invert=True, jobs=2)
    assert [o["status"] for o in outcomes] == ["ok", "ok"]
    for sounding, outcome in zip([first, second], outcomes):
        assert outcome["fit_percent"] == zeva.invert(sounding).pcterr
        assert zeva.read(str(tmp_path / outcome["output"])).pcterr == outcome["fit_percent"]
