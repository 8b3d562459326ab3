#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang into build-fuzz/ and runs
# each of them for SECONDS (default 3600: an hour each), one after another on
# one core. The corpora grow in build-fuzz/corpus/, findings (crashing, hanging
# or refused-but-changed inputs) land in build-fuzz/findings/.
#   ./scripts/fuzz.sh            # an hour each
#   ./scripts/fuzz.sh 1800       # half an hour each
#   ./scripts/fuzz.sh 600 fuzz_design
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-3600}"
shift || true
targets=("${@:-fuzz_project_file fuzz_design}")
read -r -a targets <<< "${targets[*]}"

# clang with its libFuzzer and sanitizer runtimes, from Debian.
packages=(clang libclang-rt-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The fuzzers use the program folder (databases, pictures) of the normal build.
./scripts/setup.sh
cmake --preset fuzz >/dev/null
nice -n 10 cmake --build --preset fuzz -j"$(nproc)" --target "${targets[@]}"

export ZEFRANT_PROGRAM_DIR="$PWD/build"
export LSAN_OPTIONS="suppressions=$PWD/tests/sanitizers/lsan.supp:print_suppressions=0"
# The fuzzed runs keep the user's own file in the fuzz build, never in the real data folder.
export ZEFRANT_USER_DATA="$PWD/build-fuzz/user-data"
mkdir -p build-fuzz/findings
for target in "${targets[@]}"; do
  corpus="build-fuzz/corpus/${target#fuzz_}"
  mkdir -p "$corpus"
  options=(-max_total_time="$seconds" -timeout=30 -rss_limit_mb=4096
           -artifact_prefix="build-fuzz/findings/$target-" -print_final_stats=1)
  case "$target" in
    fuzz_project_file)
      cp -n build/DB/ZFData.zft "$corpus/template.zfp"
      [ -e "$corpus/sample.zfp" ] ||
        ZEFRANT_FUZZ_WRITE_SEED="$PWD/$corpus/sample.zfp" build-fuzz/fuzz/"$target" -runs=0 "$corpus"
      options+=(-max_len=262144)
      ;;
    fuzz_design)
      cp -n tests/fuzz/corpus/design/* "$corpus"/
      options+=(-dict=tests/fuzz/design.dict -max_len=16384)
      ;;
  esac
  echo "== $target for ${seconds}s"
  nice -n 10 build-fuzz/fuzz/"$target" "${options[@]}" "$corpus"
done
