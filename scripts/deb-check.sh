#!/usr/bin/env bash
# Installs a built package into a fresh Debian 12 root with apt-get, as an
# administrator would, and starts the program there the way its menu entry
# does, as an ordinary user: it must come up and still be running when the
# timeout ends it, with its database in the user's documents folder.
# Usage: scripts/deb-check.sh [build-deb/kq_VERSION_ARCH.deb]
# Needs root, debootstrap and bubblewrap (scripts/deps.sh package); the first
# run builds the cached base root (a few minutes, see scripts/lib/fresh-root.sh).
set -euo pipefail
given=${1:+$(realpath -m -- "$1")}
cd "$(dirname "$0")/.."
source scripts/lib/fresh-root.sh

deb=${given:-$(ls -t build-deb/kq_*.deb 2>/dev/null | head -n 1 || true)}
if [[ -z $deb ]]; then
  echo "deb-check: no package given and none in build-deb/ (run scripts/package.sh)" >&2
  exit 2
fi
if [[ ! -f $deb ]]; then
  echo "deb-check: no package at $deb" >&2
  exit 2
fi
seconds=${KQ_DEB_CHECK_SECONDS:-10}

work=$(mktemp -d /var/tmp/kq-deb-check.XXXXXX)
trap 'rm -rf "$work"' EXIT
root=$work/root
fresh_root_copy "$root"
mkdir -p "$root/var/tmp/kq-deb"
cp "$deb" "$root/var/tmp/kq-deb/"

step() { printf '\n== %s (%s)\n' "$1" "$(date +%T)"; }

step "apt-get install ./$(basename "$deb")"
# Recommends (a CJK font, LibreOffice Calc) are left out: the program must
# start with its Depends alone.
fresh_root_run "$root" sh -ec '
  cd /var/tmp/kq-deb
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends ./kq_*.deb >/var/tmp/kq-deb/apt.log 2>&1 ||
    { cat /var/tmp/kq-deb/apt.log; exit 1; }
  useradd --create-home clerk'

step "kq --version and kq --help without a display"
fresh_root_run "$root" env -i PATH=/usr/bin:/bin LANG=C.UTF-8 sh -ec '
  kq --version
  kq --help | grep -q "Usage: kq"'

# The command line of the installed menu entry, field codes dropped.
exec_line=$(sed -n 's/^Exec=//p' "$root/usr/share/applications/kq.desktop" | head -n 1)
exec_line=$(sed 's/ *%[a-zA-Z]//g' <<<"$exec_line")

# start USER HOME SECONDS: runs the menu entry's command; it must still be
# running when the timeout ends it.
start() {
  local user=$1 home=$2 seconds=$3 status
  step "start \"$exec_line\" as $user for ${seconds}s"
  set +e
  fresh_root_run "$root" runuser -u "$user" -- env -i HOME="$home" \
    PATH=/usr/local/bin:/usr/bin:/bin LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen \
    timeout "$seconds" sh -c "cd \"\$HOME\" && exec $exec_line" >"$work/kq.log" 2>&1
  status=$?
  set -e
  cat "$work/kq.log"
  if [[ $status -ne 124 ]]; then
    echo "deb-check: FAILED: kq ended with status $status before the timeout" >&2
    exit 1
  fi
  local folder="$home/Documents/打卡异常统计"
  if [[ ! -f $root$folder/KQ.db ]]; then
    echo "deb-check: FAILED: no KQ.db in $folder" >&2
    exit 1
  fi
  echo "KQ.db in $folder"
}

start clerk /home/clerk "$seconds"
# Root could write beside the installed program; its data belongs in its home too.
start root /root 5
if [[ -e $root/usr/bin/KQ.db ]]; then
  echo "deb-check: FAILED: KQ.db was written beside the installed program" >&2
  exit 1
fi
echo "deb-check: OK: $(basename "$deb") installs in a fresh Debian 12 root and starts"
