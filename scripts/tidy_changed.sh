#!/usr/bin/env bash
# Runs clang-tidy (the repository's .clang-tidy) on the C++ sources changed
# since a commit, default the one before HEAD, with the compile commands of
# build/ (configure it first: cmake --preset default). Fails on a finding.
#   scripts/tidy_changed.sh [COMMIT]
set -euo pipefail
cd "$(dirname "$0")/.."
base=${1:-HEAD~1}
mapfile -t changed < <(git diff --name-only --diff-filter=d "$base" -- '*.cpp' |
  grep -v '^\(tests\|bench\|fuzz\)/' || true)
if [ ${#changed[@]} -eq 0 ]; then
  echo "tidy: no production source changed since $base"
  exit 0
fi
clang-tidy -p build --quiet --warnings-as-errors='*' "${changed[@]}"
echo "tidy: ${#changed[@]} files clean"
