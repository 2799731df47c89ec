#!/usr/bin/env bash
# Installs what ZEVA needs, checks the layers, builds
# everything with warnings as errors and runs every test (CMakePresets.json
# holds each build's settings). `scripts/test.sh sanitize` does the same without the GUI under
# AddressSanitizer and UndefinedBehaviorSanitizer, in build-asan/, and
# `scripts/test.sh fuzz` builds the fuzz targets with clang in build-fuzz/ and
# replays their corpus. The default build also runs the Python module's tests
# (pytest, tests/python).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/bootstrap.sh

fuzz_readers=(native_file usf edi flat_ascii well_log model_import settings)
if [ "${1:-}" = fuzz ]; then
  # The libFuzzer targets, built by clang with ASan and UBSan, each run once on
  # every seed and past finding of its corpus.
  cmake --preset fuzz
  cmake --build --preset fuzz --target "${fuzz_readers[@]/%/_fuzz}"
  for reader in "${fuzz_readers[@]}"; do
    build-fuzz/fuzz/"${reader}"_fuzz fuzz/corpus/"$reader"/*
  done
  exit 0
fi

case "${1:-}" in
  sanitize) preset=sanitize ;;
  "") preset=default
    # Every include within its module's DEPENDS, no Qt outside ui/qt and app,
    # and every source as clang-format writes it.
    python3 scripts/check_layers.py
    ./scripts/check_format.sh ;;
  *) echo "usage: scripts/test.sh [sanitize|fuzz]" >&2; exit 2 ;;
esac

export QT_QPA_PLATFORM=offscreen
cmake --preset "$preset"
cmake --build --preset "$preset"
ctest --preset "$preset" -j "$(nproc)"
# The Python module against zeva-cli and the physics, and the examples, with
# the system's Python (the one the module is built for).
if [ -f build/python/zeva.pyi ] && [ "$preset" = default ]; then
  /usr/bin/python3 -m pytest -q tests/python
fi
