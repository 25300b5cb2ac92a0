#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and gives each a short run on a copy of its corpus in
# fuzz/corpus/ (the repository stays clean); any crash, sanitizer report or broken check fails
# the run and keeps the input that caused it.
# Usage: tools/fuzz.sh [SECONDS_PER_TARGET]   (default 20)
#        tools/fuzz.sh --build-only
#   QM_FUZZ_BUILD picks the build folder (default build-fuzz); QM_FUZZ_TARGETS a subset.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
build_only=0
[ "$seconds" = "--build-only" ] && build_only=1
build=${QM_FUZZ_BUILD:-build-fuzz}
targets=${QM_FUZZ_TARGETS:-wave_loader_fuzz settings_fuzz saved_game_parse_fuzz chart_parse_fuzz saved_game_fuzz chart_fuzz chart_source_fuzz}

cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DQM_BUILD_FUZZ=ON \
  -DQM_BUILD_TESTS=OFF -DQM_BUILD_BENCH=OFF >/dev/null
# shellcheck disable=SC2086
cmake --build "$build" -j "$(nproc)" --target $targets
[ "$build_only" = 0 ] || exit 0

work=$(mktemp -d /tmp/qm-fuzz.XXXXXX)
trap 'rm -rf "$work"' EXIT
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tools/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
findings=${QM_FUZZ_FINDINGS:-$PWD/$build/findings}

# One target a core at a time, each with its own seconds; the results are told in order.
fuzz_one() {
  local target=$1 status=0
  "$build/fuzz/$target" "$work/$target/corpus" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$work/$target/found/" >"$work/$target/log" 2>&1 || status=$?
  echo "$status" >"$work/$target/status"
}
running=0
for target in $targets; do
  mkdir -p "$work/$target/corpus" "$work/$target/found"
  cp -r "fuzz/corpus/$target/." "$work/$target/corpus/"
  if [ "$running" -ge "$(nproc)" ]; then
    wait -n || true
    running=$((running - 1))
  fi
  fuzz_one "$target" &
  running=$((running + 1))
done
wait

passed=0
failed=0
for target in $targets; do
  echo "== $target: $seconds s"
  if [ "$(cat "$work/$target/status" 2>/dev/null)" = 0 ]; then
    runs=$(awk '/stat::number_of_executed_units/ {print $2}' "$work/$target/log")
    echo "   $runs runs, no finding"
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    grep -E "ERROR|runtime error|broken|SUMMARY" "$work/$target/log" | head -n 20 || true
    mkdir -p "$findings/$target"
    cp "$work/$target/found/"* "$findings/$target/" 2>/dev/null || true
    echo "   FAILED; the input is kept in $findings/$target, the log follows"
    tail -n 60 "$work/$target/log"
  fi
done

echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
