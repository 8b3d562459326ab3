#!/usr/bin/env bash
# Sets up Zefrant and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
