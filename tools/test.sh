#!/usr/bin/env bash
# Installs what the tests need, then builds and runs every test twice: once optimised (with the
# end-to-end runs under a virtual X server) and once under AddressSanitizer and UBSan; both are test
# builds, with the hooks the end-to-end runs start the game through (QM_TEST_HOOKS).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh --test
jobs=$(nproc)
# Each stage's time is printed when it ends.
stage_name=""
stage_started=$SECONDS
stage() {
  [ -n "$stage_name" ] && echo "-- $stage_name: $((SECONDS - stage_started)) s"
  stage_name=$1
  stage_started=$SECONDS
  [ -z "$stage_name" ] || echo "== $stage_name"
}

stage "formatting"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

stage "build and test (GCC)"
# Warnings stop the test command (here and in CI) but not a player's or a packager's build.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQM_WERROR=ON -DQM_TEST_HOOKS=ON
cmake --build build -j "$jobs"
(cd build && ctest --output-on-failure -j "$jobs")

stage "static checks (clang-tidy on src/)"
# The game's own sources, with the checks in .clang-tidy; a finding fails the run. The GCC build's
# compile commands carry GCC-only warning flags, which clang-tidy is told to pass over.
run-clang-tidy-14 -p build -j "$jobs" -quiet -extra-arg=-Wno-unknown-warning-option "$PWD/src/"

stage "sanitizers (ASan + UBSan, Clang)"
# The second compiler: the optimised build above is GCC's, this one is Clang's.
CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQM_SANITIZE=ON -DQM_BUILD_BENCH=OFF \
  -DQM_WERROR=ON -DQM_TEST_HOOKS=ON
cmake --build build-asan -j "$jobs"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export LSAN_OPTIONS=suppressions=$PWD/tools/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd build-asan && ctest --output-on-failure -j "$jobs")

stage "fuzzing (a short run of each reader's target on its corpus)"
bash tools/fuzz.sh "${QM_FUZZ_SECONDS:-15}"

stage "package (Release for /usr; desktop, AppStream and lintian checks; the installed game played by an ordinary user)"
bash tools/package.sh
stage ""
