#!/usr/bin/env bash
# Takes the window pictures of the documentation into docs/images (or the
# folder given) with the screenshot tool of a built tree, under a virtual X
# server: every scene at 1400x1000, then the first-start window at scale
# factor 2 on a 2800x2000 screen.
#   scripts/screenshots/take.sh [FOLDER]
set -euo pipefail
cd "$(dirname "$0")/../.."
folder=$(realpath "${1:-docs/images}")
tool=build/scripts/screenshots/zeva_screenshots
export ZEVA_SCREENSHOT_DIR=$folder QT_QPA_PLATFORM=xcb
xvfb-run -a -s "-screen 0 1400x1000x24" "$tool"
QT_SCALE_FACTOR=2 xvfb-run -a -s "-screen 0 2800x2000x24" "$tool" \
  --gtest_filter=Screenshots.MainWindowAtItsFirstStartSize
