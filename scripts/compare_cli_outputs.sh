#!/bin/sh
# Runs zeva-cli over the example sounding of every data type and writes what
# it prints and exports into one folder, so that two builds can be compared
# byte for byte:
#   scripts/compare_cli_outputs.sh OLD/zeva-cli before
#   scripts/compare_cli_outputs.sh NEW/zeva-cli after
#   diff -r before after
set -u
cli=$(realpath "$1")
out=$2
mkdir -p "$out"
cd "$out" || exit 1
run() {  # name, then the command's arguments
  name=$1; shift
  "$cli" "$@" >"$name.out" 2>"$name.err"
  echo "exit $?" >>"$name.out"
}
run default-info info default --json
run default-forward forward default --json
run default-invert invert default --json
run default-estimate estimate default --json
run default-smooth smooth default --json
types="Schlumberger Array|Wenner Array|Dipole-Dipole Array|Pole-Dipole Array|Pole-Pole Array|Polar Dipole Array|Perpendicular Array|Grounding Impedance|Horizontal Coplanar|Vertical Coplanar|Vertical Coaxial|EM Conductivity Data|Magnetotelluric Data|MT Data xy, yx, inv.|Controlled Source MT|Sea Floor MT data TE|Sea Floor MT data TM|Central Loop TEM|Coincident Loop TEM|Fixed Loop TEM|Fixed Loop Radial H|Fixed Loop Horiz. H|Cicular Loop Rad. H|Marine TEM Inline E|Marine TEM B-Side E"
IFS='|'
for type in $types; do
  tag=$(printf '%s' "$type" | tr -c 'A-Za-z0-9' '_')
  run "$tag-new" new --type "$type" -o "$tag.ZVR"
  run "$tag-info" info "$tag.ZVR" --json
  run "$tag-forward" forward "$tag.ZVR" --json
  run "$tag-invert" invert "$tag.ZVR" --json
  for format in usf data synthetics model; do
    run "$tag-export-$format" export "$tag.ZVR" --format $format -o "$tag.$format.txt"
  done
done
