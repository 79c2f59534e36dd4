# Fresh Debian 12 roots for checks that must not see anything this machine
# has installed. Source this file; it defines:
#   fresh_root_base         prints the cached untouched base, building it once;
#                           its path is the only thing it writes to stdout
#   fresh_root_copy DEST    makes DEST a fresh copy of that base
#   fresh_root_run ROOT CMD runs CMD as root inside ROOT, isolated by bwrap
#   fresh_root_remove ROOT  removes a copy made by fresh_root_copy
# The base is a debootstrap minbase of bookworm from the mirror that this
# machine's own apt sources name. Downloaded packages are kept in a cache
# beside it, so repeated runs fetch less; nothing installed is ever kept.
# FRESH_ROOT_MIRROR overrides the mirror; extra bwrap options for
# fresh_root_run (such as binding an X socket) go in the array
# FRESH_ROOT_BWRAP_EXTRA.

FRESH_ROOT_CACHE="${FRESH_ROOT_CACHE:-/var/cache/kq-fresh-root}"
FRESH_ROOT_SUITE=bookworm

fresh_root_die() {
  echo "fresh root: $*" >&2
  exit 1
}

# The first Debian mirror of the host's sources that serves the suite.
fresh_root_mirror() {
  local uri="${FRESH_ROOT_MIRROR:-}"
  if [ -z "$uri" ] && [ -r /etc/apt/sources.list.d/debian.sources ]; then
    uri=$(awk -v suite="$FRESH_ROOT_SUITE" '
      BEGIN { RS = ""; FS = "\n" }
      {
        uris = ""; ok = 0
        for (i = 1; i <= NF; i++) {
          if ($i ~ /^URIs:/) { uris = $i; sub(/^URIs:[ \t]*/, "", uris); split(uris, u, /[ \t]+/) }
          if ($i ~ /^Suites:/) { n = split($i, s, /[ \t]+/); for (j = 2; j <= n; j++) if (s[j] == suite) ok = 1 }
        }
        if (ok && uris != "") { print u[1]; exit }
      }' /etc/apt/sources.list.d/debian.sources)
  fi
  if [ -z "$uri" ] && [ -r /etc/apt/sources.list ]; then
    uri=$(awk -v suite="$FRESH_ROOT_SUITE" '
      $1 == "deb" { i = 2; if ($i ~ /^\[/) { while ($i !~ /\]$/) i++; i++ }
                    if ($(i + 1) == suite) { print $i; exit } }' /etc/apt/sources.list)
  fi
  [ -n "$uri" ] || fresh_root_die "no $FRESH_ROOT_SUITE mirror in this machine's apt sources"
  echo "$uri"
}

fresh_root_tools() {
  local missing=()
  command -v debootstrap >/dev/null || missing+=(debootstrap)
  command -v bwrap >/dev/null || missing+=(bubblewrap)
  # Callers capture the base's path from stdout: apt's output goes to stderr.
  if [ "${#missing[@]}" -gt 0 ]; then
    { apt-get update -qq &&
      DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"; } >&2 \
      || fresh_root_die "cannot install ${missing[*]}"
  fi
}

fresh_root_base() {
  [ "$(id -u)" -eq 0 ] || fresh_root_die "must run as root (debootstrap and bwrap need it)"
  local base="$FRESH_ROOT_CACHE/base"
  mkdir -p "$FRESH_ROOT_CACHE"
  (
    flock 9
    if [ ! -e "$base/.complete" ]; then
      fresh_root_tools
      local mirror partial="$FRESH_ROOT_CACHE/base.partial"
      mirror=$(fresh_root_mirror) || exit 1
      echo "fresh root: bootstrapping $FRESH_ROOT_SUITE (minbase) from $mirror" >&2
      rm -rf --one-file-system "$partial"
      debootstrap --variant=minbase "$FRESH_ROOT_SUITE" "$partial" "$mirror" >"$FRESH_ROOT_CACHE/debootstrap.log" 2>&1 || {
        tail -n 20 "$FRESH_ROOT_CACHE/debootstrap.log" >&2
        fresh_root_die "debootstrap could not build the base from $mirror (log: $FRESH_ROOT_CACHE/debootstrap.log)"
      }
      # Packages are fetched into the shared download cache, not the base.
      rm -f "$partial"/var/cache/apt/archives/*.deb
      touch "$partial/.complete"
      rm -rf --one-file-system "$base"
      mv "$partial" "$base"
    fi
  ) 9>"$FRESH_ROOT_CACHE/lock" || exit 1
  echo "$base"
}

fresh_root_copy() {
  local dest="$1" base
  base=$(fresh_root_base) || exit 1
  rm -rf --one-file-system "$dest"
  mkdir -p "$(dirname "$dest")"
  cp -a "$base" "$dest"
  rm -f "$dest/.complete"
  cp -L /etc/resolv.conf "$dest/etc/resolv.conf"
}

# No host device, folder or file is bound in but the package download cache,
# so nothing done inside can reach through into the host.
fresh_root_run() {
  local root="$1"
  shift
  fresh_root_tools
  mkdir -p "$FRESH_ROOT_CACHE/archives/partial"
  bwrap --bind "$root" / \
    --dev /dev --proc /proc --perms 1777 --tmpfs /tmp \
    --bind "$FRESH_ROOT_CACHE/archives" /var/cache/apt/archives \
    ${FRESH_ROOT_BWRAP_EXTRA[@]+"${FRESH_ROOT_BWRAP_EXTRA[@]}"} \
    --unshare-pid --unshare-ipc --unshare-uts --die-with-parent \
    --clearenv --setenv HOME /root --setenv PATH /usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    --setenv LANG C.UTF-8 --setenv DEBIAN_FRONTEND noninteractive \
    --chdir / "$@"
}

fresh_root_remove() {
  local root="$1"
  case "$root" in
    "$FRESH_ROOT_CACHE"/runs/*) rm -rf --one-file-system "$root" ;;
    *) fresh_root_die "refusing to remove $root: not a copy under $FRESH_ROOT_CACHE/runs" ;;
  esac
}
