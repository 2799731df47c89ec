#!/usr/bin/env bash
# Installs what ZEVA needs, builds everything with warnings as errors and runs
# every test. `scripts/test.sh sanitize` does the same without the GUI under
# AddressSanitizer and UndefinedBehaviorSanitizer, in build-asan/.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/bootstrap.sh

case "${1:-}" in
  sanitize) dir=build-asan; flags=(-DZEVA_SANITIZE=ON -DZEVA_BUILD_GUI=OFF -DZEVA_BUILD_BENCH=OFF) ;;
  "") dir=build; flags=() ;;
  *) echo "usage: scripts/test.sh [sanitize]" >&2; exit 2 ;;
esac

export QT_QPA_PLATFORM=offscreen
cmake -S . -B "$dir" -G Ninja -DZEVA_WERROR=ON "${flags[@]}"
cmake --build "$dir"
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
