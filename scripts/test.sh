#!/usr/bin/env bash
# Sets up Zefrant and runs every test: all tests of the normal build (build/),
# with the figures of the robustness suite after them, then every test once more
# in the sanitizer build (build-asan/, scripts/sanitize.sh).
# ZEFRANT_SANITIZERS=0 leaves the sanitizer build out of a quick local run.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
status=0
rm -f build/robustness-figures.txt
ctest --preset default -j"$(nproc)" || status=1
if [ -f build/robustness-figures.txt ]; then
  echo "Robustness suite:"
  cat build/robustness-figures.txt
fi
if [ "${ZEFRANT_SANITIZERS:-1}" != 0 ]; then
  ./scripts/sanitize.sh || status=1
fi
exit "$status"
