#!/usr/bin/env bash
# Installs every Debian package ZEVA needs to build, test and run.
# Idempotent: one apt-get update, then one install of the whole list.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libcli11-dev nlohmann-json3-dev libfmt-dev libeigen3-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-svg-dev libgl-dev
  clang libclang-rt-14-dev clang-format clang-tidy
  poppler-utils python3-ezdxf
  xvfb xauth
  pybind11-dev python3-dev python3-numpy python3-pytest
  help2man appstream dpkg-dev file lintian man-db
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update
"${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
