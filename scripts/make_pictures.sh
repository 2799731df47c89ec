#!/usr/bin/env bash
# Regenerates the pictures under docs/images/ with zeva-cli: the default
# sounding as the program starts with it, and an inverted sounding of each
# family (synthetic data of a known earth with 2 % noise, inverted from a
# uniform start model, then equivalence analysis), plus the two-page report of
# the inverted default sounding and a PNG of its first page, and the section
# of a synthetic profile.
#
#   scripts/make_pictures.sh [ZEVA_CLI]     (default build/cli/zeva-cli)
#
# Needs a build with the desktop program (plot and report draw through Qt)
# and pdfinfo/pdftoppm (poppler-utils).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cli=$(realpath "${1:-$root/build/cli/zeva-cli}")
images=$root/docs/images
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$images"
cd "$work"

z() {
  "$cli" "$@" >log.txt 2>&1 || { echo "zeva-cli $* failed:" >&2; cat log.txt >&2; exit 1; }
}

# A sounding of synthetic data: forward model of the true earth, the
# synthetics made the data with noise, then the start model.
synthetic_data() {  # input output true-model-options -- start-model-options
  local input=$1 output=$2
  shift 2
  local truth=() start=()
  while [ "$1" != "--" ]; do truth+=("$1"); shift; done
  shift
  start=("$@")
  z set-model "$input" "${truth[@]}" -o truth.ZVR
  z forward truth.ZVR -o synthetic.ZVR
  z transfer synthetic.ZVR --noise 2 -o noisy.ZVR
  z set-model noisy.ZVR "${start[@]}" -o "$output"
}

# Inverts, analyses equivalence and writes the final file whose name becomes
# the sounding name and so the plot title.
invert_and_analyse() {  # start final
  z invert "$1" -o inverted.ZVR
  z equivalence inverted.ZVR -o "$2"
}

# The default sounding as the program opens it: Schlumberger data in
# segments of equal MN and the uniform seven-layer start model.
z plot default -o "$images/default-sounding.png"

# The default sounding inverted with a five-layer model.
z set-model default --rho 100 100 100 100 100 --thick 2 8 40 150 -o start.ZVR
invert_and_analyse start.ZVR "Default Data inverted.ZVR"
z plot "Default Data inverted.ZVR" --view layered,equivalence -o "$images/default-inverted.png"
z report "Default Data inverted.ZVR" --user "ZEVA pictures" -o "$images/default-report.pdf"
pages=$(pdfinfo "$images/default-report.pdf" | awk '/^Pages:/ {print $2}')
[ "$pages" = 2 ] || { echo "the report has $pages pages, not 2" >&2; exit 1; }
pdftoppm -png -r 80 -f 1 -l 1 -singlefile "$images/default-report.pdf" "$images/default-report-page1"

# Schlumberger sounding with IP: resistivity and chargeability of four layers.
{
  echo "AB/2 MN RHO IP"
  for a in 1.5 2 3 4 5 7 10; do echo "$a 1 100 5"; done
  for a in 10 15 20 30 40 50 70 100; do echo "$a 10 100 5"; done
  for a in 100 150 200 300 400 500 700 1000; do echo "$a 40 100 5"; done
} >ip.dat
z import-dat ip.dat --type "Schlumberger Array" --spacing-column 1 --mn-column 2 \
  --resistivity-column 3 --ip-column 4 --first-row 2 -o ip.ZVR
synthetic_data ip.ZVR start.ZVR --rho 150 30 400 60 --thick 4 15 50 --ip 2 20 4 10 -- \
  --rho 100 100 100 100 --thick 3 10 40 --ip 5 5 5 5
invert_and_analyse start.ZVR "Schlumberger with IP.ZVR"
z plot "Schlumberger with IP.ZVR" --view layered,equivalence -o "$images/schlumberger-ip.png"

# Magnetotelluric sounding: a conductor between resistive layers.
z new --type "Magnetotelluric Data" -o mt.ZVR
synthetic_data mt.ZVR start.ZVR --rho 100 10 1000 --thick 500 1500 -- \
  --rho 50 50 50 --thick 300 1000
invert_and_analyse start.ZVR "Magnetotelluric.ZVR"
z plot Magnetotelluric.ZVR --view layered,equivalence,bostick,niblett,redline \
  -o "$images/magnetotelluric.png"

# MaxMin (horizontal coplanar coils, frequency sounding): a resistive layer
# over a conductor.
z new --type "Horizontal Coplanar" -o maxmin.ZVR
synthetic_data maxmin.ZVR start.ZVR --rho 300 20 --thick 40 -- --rho 500 50 --thick 60
invert_and_analyse start.ZVR "MaxMin coplanar.ZVR"
z plot "MaxMin coplanar.ZVR" --view layered,equivalence -o "$images/maxmin.png"

# Ground conductivity meter readings (model in mS/m): a resistive layer
# between conductive ones.
z new --type "EM Conductivity Data" -o em.ZVR
synthetic_data em.ZVR start.ZVR --rho 10 80 5 --thick 4 8 -- --rho 30 30 30 --thick 3 10
invert_and_analyse start.ZVR "EM Conductivity.ZVR"
z plot "EM Conductivity.ZVR" --view layered,equivalence -o "$images/em-conductivity.png"

# Field data as they come: an EDI file of a wide-band MT station (written
# here: a four-layer earth with a 2 ohm-m conductor, 3 % scatter, and a dead
# band near 1 Hz whose readings are off and carry large error bars), its
# estimated model inverted with error weighting, and its Occam smooth model.
python3 - >station.edi <<'PYTHON'
import cmath, math, random
random.seed(7)
rho, h = [100.0, 2.0, 300.0, 20.0], [300.0, 500.0, 3000.0]
def response(f):
    w, mu = 2 * math.pi * f, 4e-7 * math.pi
    k = lambda r: cmath.sqrt(1j * w * mu / r)
    c = 1 / k(rho[-1])
    for j in range(len(rho) - 2, -1, -1):
        kj = k(rho[j]); t = cmath.tanh(kj * h[j]); c = (kj * c + t) / (kj * (1 + kj * c * t))
    z = 1j * w * mu * c * 1e-3 / mu  # mV/km/nT
    return z
freqs = [1e-3 * 10 ** (6 * i / 39) for i in range(40)]
print('>HEAD\n  DATAID="MT-7"\n  LAT=-31:12:00\n  LONG=116:40:00\n  ELEV=210\n  EMPTY=1.0E32')
print('>=DEFINEMEAS\n  MAXCHAN=5\n>=MTSECT\n  SECTID="MT-7"\n  NFREQ=40')
def block(name, values):
    print('>%s ROT=ZROT //%d' % (name, len(values)))
    for i in range(0, len(values), 5): print('  ' + '  '.join('%.6E' % v for v in values[i:i + 5]))
block('FREQ', freqs)
block('ZROT', [0.0] * 40)
z, var = [], []
for f in freqs:
    dead = 0.5 < f < 3.0
    e = 0.25 if dead else 0.03
    zz = response(f) * (1 + e * random.gauss(0, 1)) * cmath.exp(1j * e * random.gauss(0, 1))
    z.append(zz); var.append((e * abs(zz)) ** 2)
block('ZXYR', [v.real for v in z]); block('ZXYI', [v.imag for v in z]); block('ZXY.VAR', var)
block('ZYXR', [-v.real for v in z]); block('ZYXI', [-v.imag for v in z]); block('ZYX.VAR', var)
print('>END')
PYTHON
z import-edi station.edi -o station.ZVR
z estimate station.ZVR -o estimated.ZVR
z invert estimated.ZVR --weight-errors -o inverted.ZVR
z smooth inverted.ZVR --occam --weight-errors -o "Station MT-7.ZVR"
z plot "Station MT-7.ZVR" --view layered,smooth -o "$images/real-data-mt.png"

# A central-loop TEM sounding (100 m loop, 10 us to 20 ms) of a 10 ohm-m
# conductor between 40 and 100 m under 100 ohm-m on 1000 ohm-m, 2 % noise,
# inverted from a uniform start, with its equivalence: the gates as late-time
# apparent resistivity and as received voltage.
z new --type "Central Loop TEM" -o tem.ZVR
z set-model tem.ZVR --rho 100 10 1000 --thick 40 60 -o tem-true.ZVR
z forward tem-true.ZVR -o tem-true.ZVR
z transfer tem-true.ZVR --noise 2 -o tem-noisy.ZVR
z set-model tem-noisy.ZVR --rho 100 100 100 --thick 40 60 -o tem-start.ZVR
z invert tem-start.ZVR -o tem-inverted.ZVR
z equivalence tem-inverted.ZVR -o "Central loop 100 m.ZVR"
z plot "Central loop 100 m.ZVR" --view layered,equivalence -o "$images/tem-inverted-resistivity.png"
z plot "Central loop 100 m.ZVR" --view layered,equivalence,voltage \
  -o "$images/tem-inverted-voltage.png"

# A synthetic profile whose conductor thickens along the line: the section
# of its independently inverted layered models, and of its laterally
# constrained models when zeva-cli has the lci verb.
"$root/scripts/make_synthetic_profile.sh" profile "$cli" >/dev/null
z batch profile --estimate --invert
z section profile --depth 80 -o "$images/section-independent.png"
if "$cli" lci --help >/dev/null 2>&1; then
  z lci profile --layers 3
  z section profile --model lci --depth 80 -o "$images/section-lci.png"
fi

echo "pictures written to $images"
