#!/usr/bin/env bash
# Runs the window exerciser for SECONDS (default 600) under Xvfb with openbox,
# nice'd: one run after the other, each of ZEFRANT_EXERCISE_ACTIONS actions
# (default 3000) on a fresh project with placed units, the seeds counting up
# from SEED (default: from the clock). A run that fails is told by its seed,
# with its last actions, and its output is kept in build/exercise-findings/;
# ZEFRANT_EXERCISE_SEED=<seed> build/tests/window_exerciser replays it. The
# figures of all runs come at the end. Needs build/ (scripts/test.sh or
# cmake --build build), Xvfb, openbox and xprop (scripts/setup.sh installs them).
# ZEFRANT_EXERCISE_DISPLAY=:N picks the display.
set -uo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-600}"
seed="${2:-$(($(date +%s) % 1000000000))}"
case "$seconds$seed" in
*[!0-9]*)
  echo "usage: scripts/exercise.sh [SECONDS] [SEED]" >&2
  exit 2
  ;;
esac
exe=build/tests/window_exerciser
if [ ! -x "$exe" ]; then
  echo "exercise: $exe is missing; build first: cmake --build build -j2" >&2
  exit 2
fi
# A display of our own under openbox (tests/ui/under_wm.sh): the one given,
# or the first free one.
if [ -z "${ZEFRANT_EXERCISE_ON_SCREEN:-}" ]; then
  ZEFRANT_EXERCISE_ON_SCREEN=1 ZEFRANT_WM_DISPLAY="${ZEFRANT_EXERCISE_DISPLAY:-}" \
    exec tests/ui/under_wm.sh "$PWD/scripts/exercise.sh" "$seconds" "$seed"
fi
display="$DISPLAY"

findings_dir=build/exercise-findings
mkdir -p "$findings_dir"
reached=$(mktemp)
out=$(mktemp)
err=$(mktemp)
runs=0 actions=0 crashes=0 hangs=0 findings=0
failed=""
end=$(($(date +%s) + seconds))
echo "exercise: ${seconds} s on display $display from seed $seed"
while [ "$(date +%s)" -lt "$end" ]; do
  ZEFRANT_EXERCISE_SEED="$seed" nice -n 10 "$exe" >"$out" 2>"$err"
  rc=$?
  runs=$((runs + 1))
  done_now=$(sed -n 's/^exerciser: seed [0-9]*, language [A-Z]*: \([0-9]*\) actions.*/\1/p' "$out")
  if [ -z "$done_now" ]; then
    done_now=$(sed -n 's/.* after \([0-9]*\) actions$/\1/p' "$err" | tail -1)
  fi
  actions=$((actions + ${done_now:-0}))
  sed -n 's/^exerciser: reached: //p' "$out" | tr ';' '\n' | sed 's/^ *//' >>"$reached"
  verdict=""
  case "$rc" in
  0) ;;
  1)
    findings=$((findings + 1))
    verdict=finding
    ;;
  3)
    hangs=$((hangs + 1))
    verdict=hang
    ;;
  *)
    crashes=$((crashes + 1))
    verdict="crash (status $rc)"
    ;;
  esac
  if [ -n "$verdict" ]; then
    failed="$failed $seed"
    cat "$out" "$err" >"$findings_dir/seed-$seed.log"
    echo "exercise: run of seed $seed: $verdict; replay: ZEFRANT_EXERCISE_SEED=$seed $exe"
    grep -E '^exerciser: FINDING' "$out"
    sed -n '/^last actions:/,$p' "$err" | tail -n 25
  else
    sed -n 's/^exerciser: \(seed .* actions in [0-9.]* s\).*/exercise: \1/p' "$out"
  fi
  seed=$((seed + 1))
done
windows=$(grep -v '^$' "$reached" | sort -u | wc -l)
echo "exercise: $runs runs, $actions actions, $windows windows, dialogs and pages reached," \
  "crashes $crashes, hangs $hangs, runs with findings $findings"
grep -v '^$' "$reached" | sort | uniq -c | sort -rn | sed 's/^/  /'
rm -f "$reached" "$out" "$err"
if [ -n "$failed" ]; then
  echo "exercise: failing seeds:$failed (output in $findings_dir/)"
  exit 1
fi
exit 0
