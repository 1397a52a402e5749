#!/usr/bin/env bash
# Sets everything up and runs the whole test suite: the core under AddressSanitizer and
# UndefinedBehaviorSanitizer, then under ThreadSanitizer, then everything, windows included,
# on a virtual screen of its own.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

jobs=$(nproc)
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1

echo "== core under AddressSanitizer and UndefinedBehaviorSanitizer"
tavelo_build build-asan -DTAVELO_GUI=OFF -DTAVELO_BENCH=OFF -DTAVELO_SANITIZE=address,undefined
ctest --test-dir "$TAVELO_ROOT/build-asan" -j "$jobs" --output-on-failure --no-tests=error

echo "== core under ThreadSanitizer"
tavelo_build build-tsan -DTAVELO_GUI=OFF -DTAVELO_BENCH=OFF -DTAVELO_SANITIZE=thread
ctest --test-dir "$TAVELO_ROOT/build-tsan" -j "$jobs" --output-on-failure --no-tests=error

echo "== everything"
# -noreset: Xvfb otherwise resets whenever its last client has gone, and a test that connects
# just then is refused.
xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
    ctest --test-dir "$TAVELO_ROOT/build" -j "$jobs" --output-on-failure --no-tests=error
