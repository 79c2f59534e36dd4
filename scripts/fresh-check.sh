#!/usr/bin/env bash
# Proves the README's two commands on a machine that has nothing installed:
# a fresh copy of a minimal Debian 12 root gets a clean export of HEAD, then
#   1. the test command must pass;
#   2. the run command must start the program and keep it running, with the
#      sample workbooks and KQ.db laid into the program folder.
# Needs root. The base root is cached under /var/cache/kq-fresh-root; every
# run starts from an untouched copy of it.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/fresh-root.sh

started=$(date +%s)
root="$FRESH_ROOT_CACHE/runs/check-$$"
trap 'fresh_root_remove "$root"' EXIT

fresh_root_copy "$root"
mkdir -p "$root/src/kq"
git archive --format=tar HEAD | tar -x -C "$root/src/kq"
echo "fresh check: root ready after $(($(date +%s) - started)) s"

# Each step's whole output goes to a log; the console gets its summary lines,
# or its end when it fails.
logs="$FRESH_ROOT_CACHE/logs"
mkdir -p "$logs"
step() {
  local name="$1" log="$logs/$2.log" t0
  shift 2
  t0=$(date +%s)
  echo "fresh check: $name"
  if ! fresh_root_run "$root" "$@" >"$log" 2>&1; then
    tail -n 40 "$log" >&2
    echo "fresh check: FAILED: $name (whole output: $log)" >&2
    exit 1
  fi
  grep -E '^(set-up|build|tests):|tests passed|^the program' "$log" || true
  echo "fresh check: $name passed in $(($(date +%s) - t0)) s"
}

step "README test command (bash scripts/test.sh)" test \
  bash -c 'cd /src/kq && bash scripts/test.sh'

# run.sh ends by exec'ing the program, so its process becomes build/kq once
# the set-up and the build are done. It must then stay up until stopped.
step "README run command (bash scripts/run.sh)" run bash -c '
  cd /src/kq
  QT_QPA_PLATFORM=offscreen bash scripts/run.sh >/tmp/run.log 2>&1 &
  pid=$!
  program=/src/kq/build/kq
  for _ in $(seq 1200); do
    kill -0 "$pid" 2>/dev/null || { tail -n 30 /tmp/run.log; echo "run.sh ended before the program ran"; exit 1; }
    [ "$(readlink "/proc/$pid/exe" 2>/dev/null)" = "$program" ] && break
    sleep 1
  done
  [ "$(readlink "/proc/$pid/exe" 2>/dev/null)" = "$program" ] || { echo "the program did not start within 20 minutes"; exit 1; }
  sleep 15
  kill -0 "$pid" 2>/dev/null || { tail -n 30 /tmp/run.log; echo "the program ended on its own"; exit 1; }
  for f in ry.xls yd.xls pb.xls KQ.db; do
    [ -s "build/$f" ] || { echo "build/$f is missing from the program folder"; kill "$pid"; exit 1; }
  done
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  echo "the program was still running when stopped; sample month and KQ.db in build/"'

echo "fresh check: passed in $(($(date +%s) - started)) s"
