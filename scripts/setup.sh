#!/usr/bin/env bash
# Installs the Debian packages Zefrant needs to build, run, test and package, when
# missing, then configures and builds it into build/ (the program folder).
# --packages-only: only the packages.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake g++ make pkg-config qt6-base-dev qt6-svg-dev libqt6sql6-sqlite libqt6svg6
          libsqlite3-dev libgl-dev googletest libgtest-dev fonts-liberation fonts-dejavu-core
          xvfb xauth openbox x11-utils qt6-translations-l10n poppler-utils libdxflib-dev libxlsxwriter-dev unzip
          dpkg-dev file clang-tidy)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

[ "${1:-}" = "--packages-only" ] && exit 0

cmake --preset default >/dev/null
cmake --build --preset default -j"$(nproc)"
