#!/bin/sh
# Builds the library's tests with the given sanitizers and runs them; any
# report fails the run.
#   scripts/sanitize-tests.sh address,undefined build-asan
#   scripts/sanitize-tests.sh thread build-tsan test_engine
set -eu
cd "$(dirname "$0")/.."
SANITIZE=$1
DIR=$2
shift 2
cmake -S . -B "$DIR" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DGLEANER_CORE_ONLY=ON \
  -DGLEANER_BUILD_BENCH=OFF -DGLEANER_SANITIZE="$SANITIZE" >/dev/null
if [ $# -gt 0 ]; then
  cmake --build "$DIR" -j "$(nproc)" --target "$@"
  REGEX=$(echo "$@" | sed 's/test_//g; s/ /|/g')
  TESTS="-R ^($REGEX)\$"
else
  cmake --build "$DIR" -j "$(nproc)"
  TESTS=""
fi
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
# shellcheck disable=SC2086
ctest --test-dir "$DIR" --output-on-failure -j 2 $TESTS
