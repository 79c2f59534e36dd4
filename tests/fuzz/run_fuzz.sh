#!/usr/bin/env bash
# Builds the workbook fuzzer (clang, ASan + UBSan + libFuzzer) and runs it
# from the fixture corpus: SECONDS_EACH (default 300) on the .xls seeds, then
# as long on the .xlsx seeds (their parts re-stored uncompressed, so that
# mutations reach the XML rather than die in the zip checksums), on the text
# seeds read as ry.csv, and on the web pages saved as .xls.
# Any crash, sanitizer report, leak, time-out or memory blow-up fails the run,
# with the input that caused it kept in BUILD/findings-KIND/.
# Usage: tests/fuzz/run_fuzz.sh [SECONDS_EACH]
# KQ_FUZZ_KINDS picks some of them (default "xls xlsx csv html").
# KQ_FUZZ_BUILD names a build folder already configured with -DKQ_FUZZ=ON
# (scripts/sanitize.sh shares its own); without it build-fuzz is configured.
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-300}
build=${KQ_FUZZ_BUILD:-build-fuzz}
if [ -z "${KQ_FUZZ_BUILD:-}" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$build" -DKQ_FUZZ=ON -DKQ_BUILD_TESTS=OFF \
    -DKQ_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
fi
cmake --build "$build" -j"$(nproc)" --target workbook_fuzz
failed=()
# A fixture saved as a web page holds "<table" and no NUL byte.
html_seeds=$(grep -lai '<table' tests/fixtures/*.xls)
for kind in ${KQ_FUZZ_KINDS:-xls xlsx csv html}; do
  corpus="$build/corpus-$kind"
  mkdir -p "$corpus" "$build/findings-$kind"
  name=ry.xls
  case "$kind" in
    xls | xlsx) cp tests/fixtures/*."$kind" tests/fixtures/damaged/*."$kind" "$corpus"/ ;;
    csv)
      cp tests/fixtures/*.csv tests/fixtures/month_ry_tsv.xls "$corpus"/
      name=ry.csv ;;
    # shellcheck disable=SC2086  # one fixture a word
    html) cp $html_seeds "$corpus"/ ;;
  esac
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
  status=0
  KQ_FUZZ_NAME=$name ASAN_OPTIONS=detect_leaks=1:quarantine_size_mb=64 \
    "$build/workbook_fuzz" "$corpus" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 -malloc_limit_mb=256 \
    -print_final_stats=1 -artifact_prefix="$build/findings-$kind/" \
    >"$build/fuzz-$kind.log" 2>&1 || status=$?
  grep -E '^(#[0-9]+ +DONE|stat::number_of_executed_units|stat::peak_rss_mb)' "$build/fuzz-$kind.log" || true
  if [ "$status" -ne 0 ]; then
    grep -E -A 30 '==[0-9]+==ERROR|runtime error|ALARM|out-of-memory|deadly signal' "$build/fuzz-$kind.log" |
      head -n 60 >&2 || tail -n 40 "$build/fuzz-$kind.log" >&2
    echo "fuzz ($kind): FAILED with status $status; input in $build/findings-$kind/," \
      "whole output in $build/fuzz-$kind.log" >&2
    failed+=("$kind")
  else
    echo "fuzz ($kind): ${seconds} s, nothing found"
  fi
done
[ "${#failed[@]}" -eq 0 ]
