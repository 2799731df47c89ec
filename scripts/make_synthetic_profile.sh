#!/usr/bin/env bash
# Writes a synthetic survey: eleven Schlumberger soundings 50 m apart on a
# line running north-east, over 100 ohm-m cover on a 10 ohm-m conductor that
# thickens from 5 m to 45 m along the line, on 1000 ohm-m basement; each
# sounding's data are the forward response with 2 % noise (a seed of its
# own per station), its model the uniform start the batch estimates from. survey.json gives the locations.
#
#   scripts/make_synthetic_profile.sh FOLDER [ZEVA_CLI]   (default build/cli/zeva-cli)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
folder=${1:?usage: make_synthetic_profile.sh FOLDER [ZEVA_CLI]}
cli=$(realpath "${2:-$root/build/cli/zeva-cli}")
mkdir -p "$folder"
folder=$(realpath "$folder")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

z() {
  "$cli" "$@" >"$work/log.txt" 2>&1 || {
    echo "zeva-cli $* failed:" >&2
    cat "$work/log.txt" >&2
    exit 1
  }
}

stations=11
for ((i = 0; i < stations; i++)); do
  name=$(printf "P%02d" $((i + 1)))
  conductor=$((5 + 4 * i))
  z set-model default --rho 100 10 1000 --thick 10 "$conductor" -o "$work/truth.ZVR"
  z forward "$work/truth.ZVR" -o "$work/synthetic.ZVR"
  z transfer "$work/synthetic.ZVR" --noise 2 --seed $((i + 1)) -o "$work/noisy.ZVR"
  z set-model "$work/noisy.ZVR" --rho 100 100 100 --thick 10 30 -o "$folder/$name.ZVR"
done

# The index with each station's place: 50 m steps bearing 45 degrees.
python3 - "$folder" "$stations" <<'PYTHON'
import json, math, sys
folder, count = sys.argv[1], int(sys.argv[2])
step = 50.0 / math.sqrt(2.0)
soundings = [{"file": "P%02d.ZVR" % (i + 1), "station": "P%02d" % (i + 1),
              "data_type": "Schlumberger Array", "east": 1000.0 + step * i,
              "north": 2000.0 + step * i, "elevation": 120.0} for i in range(count)]
with open(folder + "/survey.json", "w") as out:
    json.dump({"soundings": soundings}, out, indent=2)
    out.write("\n")
PYTHON
echo "synthetic profile of $stations soundings written to $folder"
