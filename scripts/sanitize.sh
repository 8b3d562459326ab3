#!/usr/bin/env bash
# The sanitizer build: the libraries, the program, zefrant-cli and every test
# (the windows' tests, the window exerciser and the robustness suite among them)
# built with AddressSanitizer and UndefinedBehaviorSanitizer into build-asan/,
# then run. Any finding fails the test that caused it. Leaks inside fontconfig
# and GLib, which keep what they set up for the life of the process, are
# suppressed (tests/sanitizers/lsan.supp).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize -j"$(nproc)"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/sanitizers/lsan.supp:print_suppressions=0"
# Fewer damaged files and kills than in the normal build: the code paths are the
# same, each run is several times slower.
export ZEFRANT_ROBUSTNESS_FILES="${ZEFRANT_ROBUSTNESS_FILES:-300}"
export ZEFRANT_ROBUSTNESS_KILLS="${ZEFRANT_ROBUSTNESS_KILLS:-40}"
export ZEFRANT_ROBUSTNESS_TIME_LIMIT=120
rm -f build-asan/robustness-figures.txt
status=0
ctest --preset sanitize -j"$(nproc)" || status=1
if [ -f build-asan/robustness-figures.txt ]; then
  echo "Robustness suite under the sanitizers:"
  cat build-asan/robustness-figures.txt
fi
exit "$status"
