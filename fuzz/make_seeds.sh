#!/usr/bin/env bash
# Writes the seed corpus of the fuzz targets with zeva-cli, each file as the
# program writes it: native files of an example sounding of each family, their
# USF and ASCII data exports and the ASCII model export (the settings seed
# is a settings file of the program's layout, kept by hand);
# the EDI seed is a small half-space file. The flat ASCII, well-log and model
# targets take one or two leading bytes that choose the importer. Hostile
# inputs that were findings are kept beside the seeds by hand (found-*).
#
#   fuzz/make_seeds.sh build/cli/zeva-cli
set -euo pipefail
cli=${1:?usage: fuzz/make_seeds.sh ZEVA-CLI}
corpus=$(cd "$(dirname "$0")" && pwd)/corpus
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$corpus"/{native_file,usf,edi,flat_ascii,well_log,model_import,settings}

# name, data type, importer byte of the flat ASCII target
while IFS=, read -r name type importer; do
  "$cli" new --type "$type" -o "$work/$name.ZVR" >/dev/null
  cp "$work/$name.ZVR" "$corpus/native_file/$name.ZVR"
  if [ "$type" != "Magnetotelluric Data" ]; then
    "$cli" export "$work/$name.ZVR" --format usf -o "$corpus/usf/$name.USF" >/dev/null
  fi
  "$cli" export "$work/$name.ZVR" --format data -o "$work/$name.DAT" >/dev/null
  { printf "\\$(printf %03o "$importer")\\001"; cat "$work/$name.DAT"; } \
    >"$corpus/flat_ascii/$name.DAT"
done <<'LIST'
schlumberger,Schlumberger Array,0
wenner,Wenner Array,1
dipole_dipole,Dipole-Dipole Array,2
maxmin,Horizontal Coplanar,4
em_conductivity,EM Conductivity Data,5
mt,Magnetotelluric Data,6
central_loop_tem,Central Loop TEM,7
LIST

"$cli" export default --format model -o "$work/default.MDL" >/dev/null
{ printf '\000'; cat "$work/default.MDL"; } >"$corpus/model_import/default.MDL"
{ printf '\001'; cat "$work/default.MDL"; } >"$corpus/well_log/default.LOG"





cat >"$corpus/edi/half_space.EDI" <<'EDI'
>HEAD
  DATAID="SEED"
  ELEV=100
  EMPTY=1.0E32
>=DEFINEMEAS
  MAXCHAN=5
>=MTSECT
  SECTID="SEED"
  NFREQ=3
>FREQ //3
  100 10 1
>ZXYR ROT=ZROT //3
  50 15.8 5
>ZXYI ROT=ZROT //3
  50 15.8 5
>ZXY.VAR ROT=ZROT //3
  25 2.5 0.25
>END
EDI
