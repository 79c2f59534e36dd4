#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it from its program
# folder (build/), where a sample month is laid out unless workbooks are there.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh run
source scripts/lib/ccache.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release "${KQ_CCACHE[@]}"
cmake --build build -j"$(nproc)" --target kq
/usr/bin/python3 samples/make_sample_month.py build
exec ./build/kq
