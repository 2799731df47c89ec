#!/usr/bin/env bash
# Writes the manual pages of zeva-cli and of each of its verbs from their
# --help texts (help2man): OUT/zeva-cli.1 and OUT/zeva-cli-VERB.1.
#   scripts/make_man_pages.sh build/cli/zeva-cli OUT VERSION
set -euo pipefail
cli=$(realpath "$1")
out=$2
version=$3
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

help2man --no-info --no-discard-stderr --version-string="$version" \
  --name="one-dimensional interpretation of geophysical soundings" \
  --output="$out/zeva-cli.1" "$cli"

# help2man runs a program: each verb gets a small one that calls zeva-cli.
verbs=$("$cli" --help | awk 'tolower($0) ~ /^subcommands:/ {on = 1; next} on && /^  [a-z]/ {print $1}')
for verb in $verbs; do
  wrapper="$work/zeva-cli-$verb"
  printf '#!/bin/sh\nexec "%s" %s "$@"\n' "$cli" "$verb" >"$wrapper"
  chmod +x "$wrapper"
  summary=$("$cli" --help | awk -v v="$verb" '$1 == v {$1 = ""; sub(/^ +/, ""); print}')
  help2man --no-info --no-discard-stderr --version-string="$version" \
    --name="${summary:-zeva-cli $verb}" --output="$out/zeva-cli-$verb.1" "$wrapper"
  sed -i "s|$work/||g" "$out/zeva-cli-$verb.1"
done
gzip -9nf "$out"/*.1
