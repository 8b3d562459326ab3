#!/usr/bin/env bash
# The static checks of .clang-tidy over the sources of src/ (their headers
# through its HeaderFilterRegex), with the compile commands of the normal build
# (build/, configured here when it is not yet; nothing needs to be built for
# them). Then the sanitizer build: the libraries, the program, zefrant-cli and
# every test (the windows' tests, the window exerciser and the robustness suite
# among them) built with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-asan/, then run. Any finding of either fails the script; a finding of
# the checks does not stop the sanitizer run. Leaks inside fontconfig and GLib,
# which keep what they set up for the life of the process, are suppressed
# (tests/sanitizers/lsan.supp). The packages come from scripts/setup.sh, which
# scripts/test.sh runs first.
set -euo pipefail
cd "$(dirname "$0")/.."
status=0

command -v run-clang-tidy >/dev/null ||
  { echo "run-clang-tidy is missing: ./scripts/setup.sh --packages-only" >&2; exit 1; }
cmake --preset default >/dev/null
# Only the translation units of the source tree's src/, not the moc and embed
# files CMake generates under build/src/, nor the tests.
src_dir=$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' build/CMakeCache.txt)
src_re="^$(printf '%s' "$src_dir" | sed 's/[][\\.*^$+?(){}|]/\\&/g')/src/"
echo "Static checks (clang-tidy) over src/:"
if run-clang-tidy -quiet -p build -j"$(nproc)" "$src_re" >build/clang-tidy.log 2>&1; then
  echo "no findings"
else
  grep -E '(warning|error): ' build/clang-tidy.log | sort -u || cat build/clang-tidy.log
  echo "clang-tidy found the above (build/clang-tidy.log has it all)"
  status=1
fi

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
ctest --preset sanitize -j"$(nproc)" || status=1
if [ -f build-asan/robustness-figures.txt ]; then
  echo "Robustness suite under the sanitizers:"
  cat build-asan/robustness-figures.txt
fi
exit "$status"
