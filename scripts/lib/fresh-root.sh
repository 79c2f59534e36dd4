# shellcheck shell=bash
# A fresh Debian 12 root for installation checks: a debootstrap minbase
# bookworm root built once and cached, copied afresh for each check and
# entered with bwrap. Source this file; every function returns non-zero on
# failure and says why on stderr.
#
#   fresh_root_base            print the cached base root, building it if missing
#   fresh_root_copy DEST       make a fresh copy of the base at DEST
#   fresh_root_run ROOT CMD... run CMD inside ROOT (as root, network shared)
#
# Extra bwrap options for fresh_root_run (e.g. binding an X socket) go in the
# array FRESH_ROOT_BWRAP_EXTRA; they come after the standard mounts.

FRESH_ROOT_CACHE=${FRESH_ROOT_CACHE:-/var/cache/kq-fresh-root}
FRESH_ROOT_SUITE=${FRESH_ROOT_SUITE:-bookworm}

# The mirror the host itself uses for the suite, from its apt sources
# (FRESH_ROOT_MIRROR overrides it).
fresh_root_mirror() {
  local uri=${FRESH_ROOT_MIRROR:-}
  if [[ -z $uri && -r /etc/apt/sources.list.d/debian.sources ]]; then
    uri=$(awk -v suite="$FRESH_ROOT_SUITE" '
      BEGIN { RS = ""; FS = "\n" }
      {
        uris = ""; types = ""; ok = 0
        for (i = 1; i <= NF; i++) {
          line = $i
          if (line ~ /^URIs:/)  { sub(/^URIs:[ \t]*/, "", line); uris = line }
          if (line ~ /^Types:/) { types = line }
          if (line ~ /^Suites:/) {
            sub(/^Suites:[ \t]*/, "", line)
            n = split(line, s, /[ \t]+/)
            for (j = 1; j <= n; j++) if (s[j] == suite) ok = 1
          }
        }
        if (ok && types ~ /(^|[ \t])deb([ \t]|$)/ && uris != "") {
          split(uris, u, /[ \t]+/); print u[1]; exit
        }
      }' /etc/apt/sources.list.d/debian.sources)
  fi
  if [[ -z $uri && -r /etc/apt/sources.list ]]; then
    uri=$(awk -v suite="$FRESH_ROOT_SUITE" '
      $1 == "deb" {
        i = 2
        if ($i ~ /^\[/) { while ($i !~ /\]$/) i++; i++ }
        if ($(i + 1) == suite) { print $i; exit }
      }' /etc/apt/sources.list)
  fi
  if [[ -z $uri ]]; then
    echo "fresh-root: no Debian mirror for $FRESH_ROOT_SUITE in the host's apt sources" >&2
    return 1
  fi
  printf '%s\n' "${uri%/}"
}

fresh_root_base() {
  local base=$FRESH_ROOT_CACHE/base
  mkdir -p "$FRESH_ROOT_CACHE" || return 1
  (
    # One builder at a time; a second caller waits and then reuses the result.
    flock 9 || exit 1
    [[ -x $base/usr/bin/apt-get ]] && exit 0
    command -v debootstrap >/dev/null || {
      echo "fresh-root: debootstrap is not installed (apt-get install debootstrap)" >&2
      exit 1
    }
    mirror=$(fresh_root_mirror) || exit 1
    tmp=$FRESH_ROOT_CACHE/base.building
    rm -rf "$tmp"
    echo "fresh-root: debootstrap --variant=minbase $FRESH_ROOT_SUITE from $mirror (a few minutes)" >&2
    if ! debootstrap --variant=minbase "$FRESH_ROOT_SUITE" "$tmp" "$mirror" \
      >"$FRESH_ROOT_CACHE/debootstrap.log" 2>&1; then
      echo "fresh-root: debootstrap failed; cannot build a $FRESH_ROOT_SUITE root from $mirror." >&2
      echo "fresh-root: last lines of $FRESH_ROOT_CACHE/debootstrap.log:" >&2
      tail -n 15 "$FRESH_ROOT_CACHE/debootstrap.log" >&2
      rm -rf "$tmp"
      exit 1
    fi
    # Keep the base small: the package lists are fetched again in each copy.
    rm -rf "$tmp"/var/cache/apt/archives/*.deb "$tmp"/var/lib/apt/lists/*
    mv "$tmp" "$base"
  ) 9>"$FRESH_ROOT_CACHE/lock" || return 1
  printf '%s\n' "$base"
}

fresh_root_copy() {
  local dest=${1:?fresh_root_copy DEST}
  local base
  base=$(fresh_root_base) || return 1
  if [[ -e $dest ]]; then
    echo "fresh-root: $dest already exists" >&2
    return 1
  fi
  cp -a --reflink=auto "$base" "$dest" || return 1
  cp -L /etc/resolv.conf "$dest/etc/resolv.conf" || return 1
}

fresh_root_run() {
  local root=${1:?fresh_root_run ROOT CMD...}
  shift
  bwrap --bind "$root" / --dev /dev --proc /proc --perms 1777 --tmpfs /tmp \
    ${FRESH_ROOT_BWRAP_EXTRA[@]+"${FRESH_ROOT_BWRAP_EXTRA[@]}"} \
    --setenv PATH /usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    --setenv DEBIAN_FRONTEND noninteractive \
    "$@"
}
