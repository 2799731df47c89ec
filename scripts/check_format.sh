#!/usr/bin/env bash
# Fails when a C or C++ source file of the tree differs from what clang-format
# (with the repository's .clang-format) writes; `scripts/check_format.sh --fix`
# rewrites them.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t sources < <(git ls-files '*.cpp' '*.h' '*.c')
if [ "${1:-}" = --fix ]; then
  clang-format -i "${sources[@]}"
  exit 0
fi
clang-format --dry-run -Werror "${sources[@]}"
echo "format: ${#sources[@]} files as clang-format writes them"
