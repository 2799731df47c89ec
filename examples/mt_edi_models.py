#!/usr/bin/env python3
"""An MT station from a SEG EDI file to a layered model with its equivalence
ranges and an Occam smooth model, both fitted to the error bars.

    python3 mt_edi_models.py [data/station.edi]
"""

import sys
from pathlib import Path

import zeva

here = Path(__file__).resolve().parent
edi = Path(sys.argv[1]) if len(sys.argv) > 1 else here / "data" / "station.edi"

station = zeva.import_edi(str(edi))
layered = zeva.invert(zeva.estimate(station), weight_errors=True)
ranges = zeva.equivalence(layered).equivalence
smooth = zeva.smooth(layered, method="occam", weight_errors=True).smooth_model

n = layered.model["nlayer"]
print(f"{station.name}: {station.ndata} frequencies")
print(f"layered model, fit {layered.pcterr}% RMS (weighted {layered.weighted_fit}):")
for i in range(n):
    print(f"  layer {i + 1}: {layered.model['par'][i]:9.2f} ohm-m"
          f"  (equivalent {ranges['parmin'][i]:.2f} to {ranges['parmax'][i]:.2f})")
for i in range(n - 1):
    print(f"  boundary {i + 1}: {ranges['znmin'][i]:8.0f} to {ranges['znmax'][i]:8.0f} m")
print(f"Occam smooth model of {smooth['nlayer']} layers, fit {smooth['pcterr']}% RMS, "
      f"{smooth['resistivity'].min():.1f} to {smooth['resistivity'].max():.1f} ohm-m")
