#!/usr/bin/env bash
# Installs what the tests need, then builds and runs every test twice: once optimised with GCC
# (with the end-to-end runs under a virtual X server) and once with Clang under AddressSanitizer
# and UBSan; both are test builds, with the hooks the end-to-end runs start the game through
# (QM_TEST_HOOKS). The mixer's tests run a third time under ThreadSanitizer, since the audio
# device's callback runs on SDL's own thread. clang-tidy, the layer rule, the fuzzers and the
# package are checked too. The tests run as an ordinary user, as the game does on a player's
# machine: run as root, a test of a folder the game may not write to would prove nothing.
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

# The user the tests run as: this one, or nobody when this is root (CI). nobody gets a home of its
# own, the build folders the tests write into, and a way through to the checkout.
as_player=()
if [ "$(id -u)" -eq 0 ]; then
  player_home=$(mktemp -d /tmp/qm-test-home.XXXXXX)
  chown nobody:nogroup "$player_home"
  as_player=(setpriv --reuid=nobody --regid=nogroup --clear-groups env -i
    PATH=/usr/local/bin:/usr/bin:/bin HOME="$player_home" LANG=C.UTF-8)
  if ! "${as_player[@]}" test -r "$PWD/CMakeLists.txt"; then
    # A fresh clone in a private temporary folder: open it, and the folders above it, for
    # passing through (the files in it are readable by all already).
    folder=$PWD
    while [ "$folder" != / ]; do
      "${as_player[@]}" test -x "$folder" || chmod o+rx "$folder"
      folder=$(dirname "$folder")
    done
    echo "opened $PWD to the tests' user (nobody)"
  fi
fi
# Runs ctest in a build folder as the player, with the sanitizers' settings passed along.
player_ctest() {
  local build=$1
  shift
  [ "${#as_player[@]}" -eq 0 ] || chown -R nobody:nogroup "$build"
  (cd "$build" && "${as_player[@]}" ${ASAN_OPTIONS:+ASAN_OPTIONS=$ASAN_OPTIONS} \
    ${LSAN_OPTIONS:+LSAN_OPTIONS=$LSAN_OPTIONS} ${UBSAN_OPTIONS:+UBSAN_OPTIONS=$UBSAN_OPTIONS} \
    ${TSAN_OPTIONS:+TSAN_OPTIONS=$TSAN_OPTIONS} ctest --output-on-failure "$@")
}

stage "formatting"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

stage "build and test (GCC)"
# Warnings stop the test command (here and in CI) but not a player's or a packager's build.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQM_WERROR=ON -DQM_TEST_HOOKS=ON
cmake --build build -j "$jobs"
player_ctest build -j "$jobs" -LE e2e

# The static checks and the Clang builds the later stages test. They run beside the end-to-end
# runs, which spend most of their time waiting on the game, at the lowest priority so the game
# under test keeps its pace.
checks_and_clang_builds() {
  set -e
  renice -n 19 "$BASHPID" >/dev/null
  local started=$SECONDS
  # The whole tree, with the checks in .clang-tidy; a finding fails the run. The GCC build's
  # compile commands carry GCC-only warning flags, which clang-tidy is told to pass over; the
  # files the build generates (the meta-object compiler's) are not ours to check.
  run-clang-tidy-14 -p build -j "$jobs" -quiet -extra-arg=-Wno-unknown-warning-option \
    "^$PWD/(src|tools|tests|bench|fuzz)/"
  echo "-- clang-tidy: $((SECONDS - started)) s"
  # The second compiler: the optimised build above is GCC's, this one is Clang's.
  CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQM_SANITIZE=ON \
    -DQM_BUILD_BENCH=OFF -DQM_WERROR=ON -DQM_TEST_HOOKS=ON
  cmake --build build-asan -j "$jobs"
  echo "-- sanitizer build: $((SECONDS - started)) s"
  # Only the mixer and its tests are built with ThreadSanitizer.
  CC=clang CXX=clang++ cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQM_TSAN=ON \
    -DQM_BUILD_BENCH=OFF -DQM_WERROR=ON
  cmake --build build-tsan -j "$jobs" --target tests_qm_pcmmix
  echo "-- thread sanitizer build: $((SECONDS - started)) s"
  bash tools/fuzz.sh --build-only
  echo "-- fuzz build: $((SECONDS - started)) s"
}

stage "end-to-end runs, with clang-tidy and the Clang builds beside them"
checks_and_clang_builds >build/beside-e2e.log 2>&1 &
beside=$!
e2e_status=0
player_ctest build -L e2e || e2e_status=$?
beside_status=0
wait "$beside" || beside_status=$?
if [ "$beside_status" -ne 0 ]; then
  cat build/beside-e2e.log
  echo "clang-tidy or a Clang build failed (exit $beside_status)"
else
  grep '^-- ' build/beside-e2e.log
fi
# Spelled out: a failing `a && b` that is not a script's last command does not stop it under set -e.
if [ "$e2e_status" -ne 0 ] || [ "$beside_status" -ne 0 ]; then
  echo "the end-to-end runs failed (exit $e2e_status)"
  exit 1
fi

stage "sanitizers (ASan + UBSan, Clang)"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export LSAN_OPTIONS=suppressions=$PWD/tools/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
player_ctest build-asan -j "$jobs"

stage "thread sanitizer (the mixer and its audio device)"
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
player_ctest build-tsan -j "$jobs" -L '^qm_pcmmix$'

stage "fuzzing (a short run of each reader's target on its corpus)"
bash tools/fuzz.sh "${QM_FUZZ_SECONDS:-15}"

stage "package (Release for /usr; desktop, AppStream and lintian checks; the installed game played by an ordinary user)"
bash tools/package.sh
stage ""
