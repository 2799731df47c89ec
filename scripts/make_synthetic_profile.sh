#!/usr/bin/env bash
# Writes a profile of Schlumberger soundings for pictures and trials:
# FOLDER/P01.ZVR .. PNN.ZVR over 100 ohm-m cover, a 10 ohm-m conductor whose
# top is at 20 m and whose thickness grows from 5 m to 40 m along the line,
# and 300 ohm-m basement, each with NOISE % Gaussian noise.
#   scripts/make_synthetic_profile.sh ZEVA_CLI FOLDER [STATIONS [NOISE]]
# Station K draws its noise from seed K, so the stations' noise is
# independent. They carry no location, so they follow in name order at unit
# spacing.
set -euo pipefail
cli=$1
folder=$2
stations=${3:-40}
noise=${4:-3}
mkdir -p "$folder"
for ((k = 0; k < stations; ++k)); do
  name=$(printf 'P%02d' $((k + 1)))
  thickness=$(awk -v k="$k" -v n="$stations" 'BEGIN { printf "%.3f", 5 + (n > 1 ? 35 * k / (n - 1) : 0) }')
  file="$folder/$name.ZVR"
  "$cli" set-model default --rho 100,10,300 --thick "20,$thickness" -o "$file" >/dev/null
  "$cli" forward "$file" -o "$file" >/dev/null
  "$cli" transfer "$file" --noise "$noise" --seed $((k + 1)) -o "$file" >/dev/null
done
