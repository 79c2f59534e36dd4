#!/usr/bin/env bash
# The whole program and test suite built with AddressSanitizer and
# UndefinedBehaviorSanitizer (clang, every report fatal) and run, then each
# workbook reader fuzzed from its seeds in the same build.
# Usage: scripts/sanitize.sh [FUZZ_SECONDS_EACH]   (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."
fuzz_seconds=${1:-60}
bash scripts/deps.sh sanitize
source scripts/lib/ccache.sh
build=build-sanitize
SECONDS=0
# -O1 keeps the build and the run quick while the reports keep their lines.
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" \
  -DKQ_SANITIZE=ON -DKQ_FUZZ=ON -DKQ_WERROR=ON -DKQ_BUILD_BENCH=OFF "${KQ_CCACHE[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)"
echo "sanitizer build: ${SECONDS} s"
SECONDS=0
export ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1
export LSAN_OPTIONS="suppressions=$(pwd)/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
echo "sanitizer tests: ${SECONDS} s"
SECONDS=0
KQ_FUZZ_BUILD="$build" bash tests/fuzz/run_fuzz.sh "$fuzz_seconds"
echo "fuzz: ${SECONDS} s"
