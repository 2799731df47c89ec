#!/usr/bin/env bash
# Installs what ZEVA needs, builds everything with warnings as errors and runs
# every test. `scripts/test.sh sanitize` does the same without the GUI under
# AddressSanitizer and UndefinedBehaviorSanitizer, in build-asan/, and
# `scripts/test.sh fuzz` builds the fuzz targets with clang in build-fuzz/ and
# replays their corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/bootstrap.sh
# Every include within its module's DEPENDS, no Qt outside ui/qt and app.
python3 scripts/check_layers.py

fuzz_readers=(native_file usf edi flat_ascii well_log model_import settings)
if [ "${1:-}" = fuzz ]; then
  # The libFuzzer targets, built by clang with ASan and UBSan, each run once on
  # every seed and past finding of its corpus.
  CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DZEVA_WERROR=ON -DZEVA_FUZZ=ON \
    -DZEVA_BUILD_GUI=OFF -DZEVA_BUILD_TESTS=OFF -DZEVA_BUILD_BENCH=OFF
  cmake --build build-fuzz --target "${fuzz_readers[@]/%/_fuzz}"
  for reader in "${fuzz_readers[@]}"; do
    build-fuzz/fuzz/"${reader}"_fuzz fuzz/corpus/"$reader"/*
  done
  exit 0
fi

case "${1:-}" in
  sanitize) dir=build-asan; flags=(-DZEVA_SANITIZE=ON -DZEVA_BUILD_GUI=OFF -DZEVA_BUILD_BENCH=OFF) ;;
  "") dir=build; flags=() ;;
  *) echo "usage: scripts/test.sh [sanitize|fuzz]" >&2; exit 2 ;;
esac

export QT_QPA_PLATFORM=offscreen
cmake -S . -B "$dir" -G Ninja -DZEVA_WERROR=ON "${flags[@]}"
cmake --build "$dir"
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
