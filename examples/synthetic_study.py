#!/usr/bin/env python3
"""A synthetic study: how well does a Schlumberger VES resolve a buried
conductor of varying thickness? Each earth is modelled, given 3 % Gaussian
noise (a seed of its own, so that the study repeats exactly) and inverted
from a uniform start.

    python3 synthetic_study.py
"""

import numpy as np

import zeva

spread = zeva.shift(zeva.default_sounding(), mode=3, target=2)  # no segment steps
print("conductor  fitted thickness  fitted rho  fit %")
for case, thickness in enumerate([2.0, 5.0, 10.0, 20.0]):
    earth = zeva.set_model(spread, [100.0, 5.0, 300.0], thick=[4.0, thickness])
    data = zeva.transfer(zeva.forward(earth), 3.0, seed=case + 1)
    start = zeva.set_model(data, [50.0, 50.0, 50.0], thick=[3.0, 10.0])
    fit = zeva.invert(start, iterations=20)
    rho, h = fit.model["resistivity"], fit.model["thickness"]
    print(f"{thickness:6.1f} m {h[1]:12.1f} m {rho[1]:11.2f} {fit.pcterr:8.2f}")
    assert np.isfinite(rho).all()
