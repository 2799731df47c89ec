#!/usr/bin/env bash
# Builds the Debian package from the default build, installs it into this
# machine (as root, as CI runs), runs the installed zeva-cli, Python module and
# desktop program, lists lintian's findings and removes the package again.
set -euo pipefail
cd "$(dirname "$0")/.."
[ "$(id -u)" -eq 0 ] || { echo "scripts/check_package.sh installs a package: run it as root" >&2; exit 2; }

appstreamcli validate --no-net packaging/org.kelvorin.zeva.metainfo.xml
cmake --build --preset default --target package
deb=$(ls -t build/zeva_*.deb | head -1)
echo "package: $deb ($(du -h "$deb" | cut -f1))"
dpkg-deb --info "$deb" | sed -n '/Package:/,$p'

if dpkg-query -W -f='${Status}' zeva 2>/dev/null | grep -q "install ok installed"; then
  echo "zeva is installed already; not touching it" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get install -y --no-install-recommends "./$deb"
trap 'apt-get remove -y --purge zeva >/dev/null' EXIT

# The installed files alone: no build folder on any path.
(
  cd /tmp
  unset PYTHONPATH
  /usr/bin/zeva-cli info default
  /usr/bin/python3 -c "import zeva; print(zeva.forward(zeva.default_sounding()).pcterr)"
  /usr/bin/zeva --version
  echo "forward of the default sounding: zeva-cli $(/usr/bin/zeva-cli forward default --json |
    /usr/bin/python3 -c 'import json, sys; print(json.load(sys.stdin)["pcterr"])'), module \
$(/usr/bin/python3 -c "import zeva; print(zeva.forward(zeva.default_sounding()).pcterr)")"
  test -f /usr/share/zeva/zeva.html
  man -w zeva-cli-invert >/dev/null
)

if command -v lintian >/dev/null; then
  echo "lintian:"
  lintian --tag-display-limit 0 "$deb" 2>&1 | grep -v "root privileges" || true
fi
