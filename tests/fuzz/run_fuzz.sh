#!/usr/bin/env bash
# Builds the workbook fuzzer (clang, ASan + UBSan + libFuzzer) and runs it
# from the fixture corpus: SECONDS_EACH (default 300) on the .xls seeds, then
# as long on the .xlsx seeds (their parts re-stored uncompressed, so that
# mutations reach the XML rather than die in the zip checksums).
# Usage: tests/fuzz/run_fuzz.sh [SECONDS_EACH]
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-300}
build=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -DKQ_FUZZ=ON -DKQ_BUILD_TESTS=OFF \
  -DKQ_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build "$build" -j2 --target workbook_fuzz
for kind in xls xlsx; do
  corpus="$build/corpus-$kind"
  mkdir -p "$corpus" "$build/findings-$kind"
  cp tests/fixtures/*."$kind" tests/fixtures/damaged/*."$kind" "$corpus"/
  if [ "$kind" = xlsx ]; then
    /usr/bin/python3 - "$corpus" <<'PY'
import os, sys, zipfile
folder = sys.argv[1]
for name in os.listdir(folder):
    path = os.path.join(folder, name)
    try:
        with zipfile.ZipFile(path) as z:
            parts = [(i.filename, z.read(i.filename)) for i in z.infolist()]
    except Exception:
        continue
    with zipfile.ZipFile(path + ".stored.xlsx", "w", zipfile.ZIP_STORED) as out:
        for filename, data in parts:
            out.writestr(filename, data)
PY
  fi
  ASAN_OPTIONS=detect_leaks=1:quarantine_size_mb=64 "$build/workbook_fuzz" "$corpus" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 -malloc_limit_mb=256 \
    -print_final_stats=1 -artifact_prefix="$build/findings-$kind/" \
    2>&1 | tee "$build/fuzz-$kind.log" | grep -E '^(#[0-9]+ +(DONE|pulse)|stat::|==[0-9]+==ERROR)' || true
done
