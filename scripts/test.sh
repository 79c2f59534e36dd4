#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS=0
bash scripts/deps.sh
echo "set-up: ${SECONDS} s"
source scripts/lib/ccache.sh
SECONDS=0
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DKQ_WERROR=ON "${KQ_CCACHE[@]}"
cmake --build build -j"$(nproc)"
echo "build: ${SECONDS} s"
# Formatting is part of the build's promise.
find src tests bench \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 clang-format --dry-run --Werror
SECONDS=0
ctest --test-dir build --output-on-failure -j"$(nproc)"
echo "tests: ${SECONDS} s"
