#!/usr/bin/env python3
"""A Schlumberger VES from a CSV file (AB/2, MN, apparent resistivity, error,
all in m and ohm-m) to an inverted layered model and a PDF report.

    python3 ves_csv_report.py [data/ves.csv] [ves-report.pdf]
"""

import sys
import warnings
from pathlib import Path

import numpy as np

import zeva

here = Path(__file__).resolve().parent
source = Path(sys.argv[1]) if len(sys.argv) > 1 else here / "data" / "ves.csv"
report = Path(sys.argv[2]) if len(sys.argv) > 2 else Path("ves-report.pdf")

table = np.loadtxt(source, delimiter=",", skiprows=1)
ves = zeva.new_sounding("Schlumberger Array", table[:, 0:2], table[:, 2], table[:, 3],
                        name=source.stem.upper())
with warnings.catch_warnings():
    warnings.simplefilter("ignore", zeva.Warning)  # the estimate's notes are not needed here
    start = zeva.estimate(ves)
model = zeva.invert(start, weight_errors=True)
print(f"{model.name}: {model.model['nlayer']} layers, fit {model.pcterr}% RMS")
for rho, h in zip(model.model["resistivity"], list(model.model["thickness"]) + [None]):
    print(f"  {rho:8.1f} ohm-m" + (f"  {h:7.1f} m" if h is not None else "  half-space"))
if hasattr(zeva, "report"):
    pages = zeva.report(model, str(report), sections=["plots", "data", "model"])
    print(f"{pages} page(s) written to {report}")
