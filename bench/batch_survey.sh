#!/usr/bin/env bash
# Times `zeva-cli batch --estimate --invert` on surveys of default-size
# Schlumberger soundings (made by the program: 20 three-layer earths with 3 %
# noise, repeated to the survey size) and reports the wall time and the peak
# memory of each run. Usage: bench/batch_survey.sh [BUILD_DIR] [SIZES...]
# (default: build, 200 and 2000 soundings, 2 jobs).
set -euo pipefail
build=${1:-build}
shift || true
sizes=("${@:-200 2000}")
cli="$(realpath "$build/cli/zeva-cli")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir "$work/models"
for k in $(seq 0 19); do
  f="$work/models/M$k.ZVR"
  "$cli" set-model default --rho "100,$((5 + k)),$((200 + 10 * k))" --thick "$((2 + k % 5)),$((4 + k))" -o "$f"
  "$cli" forward "$f" -o "$f" >/dev/null
  "$cli" transfer "$f" --noise 3 --seed "$((k + 1))" -o "$f" >/dev/null
done

for n in ${sizes[@]}; do
  survey="$work/survey$n"
  mkdir "$survey"
  for i in $(seq 0 $((n - 1))); do
    cp "$work/models/M$((i % 20)).ZVR" "$(printf '%s/S%05d.ZVR' "$survey" "$i")"
  done
  start=$(date +%s.%N)
  /usr/bin/time -f '%M' -o "$work/rss" "$cli" batch "$survey" --estimate --invert --jobs 2 \
    >/dev/null 2>"$work/log" || true
  end=$(date +%s.%N)
  failed=$(grep -c ',failed,' "$survey/batch-summary.csv" || true)
  printf '%5d soundings: %6.1f s wall, peak memory %6d kB, %d failed\n' \
    "$n" "$(echo "$end - $start" | bc)" "$(cat "$work/rss")" "$failed"
  rm -rf "$survey"
done
