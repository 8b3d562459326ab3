#!/usr/bin/env bash
# Sets up Zefrant and starts it; arguments go to the program (a project file).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
exec ./build/zefrant "$@"
