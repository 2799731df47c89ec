#!/usr/bin/env bash
# Installs what ZEVA needs, builds it and starts it. Arguments are passed on
# to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/bootstrap.sh
cmake -S . -B build -G Ninja
cmake --build build
if [ -x build/app/zeva ] && { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; }; then
  exec build/app/zeva "$@"
fi
exec build/cli/zeva-cli "${@:-info}" $([ $# -eq 0 ] && echo default)
