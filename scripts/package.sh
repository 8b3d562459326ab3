#!/usr/bin/env bash
# Builds the Debian package build/zefrant_<version>_amd64.deb: installs the Debian
# packages missing for the build, builds the two programs and the program folder
# in build/ (not the tests) and packs them with CPack (cmake/Package.cmake).
#
#   ./scripts/package.sh [VERSION]    VERSION: the package's, default the project's
#   sudo apt install ./build/zefrant_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -gt 1 ] || { [ $# -eq 1 ] && ! [[ "$1" =~ ^[0-9][A-Za-z0-9.+~]*$ ]]; }; then
  echo "usage: $0 [VERSION]   (VERSION like 1.0.1 or 1.0.0+2)" >&2
  exit 2
fi
./scripts/setup.sh --packages-only

version=()
if [ $# -eq 1 ]; then version=(-DZEFRANT_PACKAGE_VERSION="$1"); else version=(-UZEFRANT_PACKAGE_VERSION); fi
# The install step takes what these targets built; it does not build the tests.
cmake --preset default "${version[@]}" -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
cmake --build --preset default -j"$(nproc)" --target zefrant zefrant-cli install_documents

# One package in build/, so that "apt install ./build/zefrant_*.deb" takes it.
rm -f build/zefrant_*.deb
(cd build && cpack -G DEB --config CPackConfig.cmake)
rm -rf build/_CPack_Packages
deb=$(ls build/zefrant_*.deb)
echo "Built $deb"
if command -v lintian >/dev/null; then
  lintian --info "$deb" || true
fi
