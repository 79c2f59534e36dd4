# Shared parts of the Windows cross-build. Source this file.
#
# Every Windows dependency is built once from the Debian source package of
# the version this machine has installed for its own build, and kept in
# KQ_WINDOWS_CACHE under a folder named by its version and a hash of its
# recipe (configure line, compiler version, this file's build steps). A
# changed recipe builds into a new folder; a folder counts only once its
# .complete marker is there. An interrupted build keeps its build folder
# (FOLDER.build, same recipe) and goes on from there the next time.

KQ_WINDOWS_CACHE="${KQ_WINDOWS_CACHE:-/var/cache/kq-windows}"
KQ_WINDOWS_TRIPLE=x86_64-w64-mingw32
KQ_WINDOWS_JOBS="${KQ_WINDOWS_JOBS:-$(nproc)}"

kqw_die() {
  echo "windows build: $*" >&2
  exit 1
}

kqw_log() {
  echo "windows build: $*" >&2
}

# The cross compiler, Wine and the rest (scripts/deps.sh lists them).
kqw_install_toolchain() {
  bash "$(dirname "${BASH_SOURCE[0]}")/../deps.sh" windows || kqw_die "cannot install the Windows build's packages"
  command -v "$KQW_CXX" >/dev/null || kqw_die "$KQW_CXX not found (g++-mingw-w64-x86-64-posix)"
}
KQW_CC="$KQ_WINDOWS_TRIPLE-gcc-posix"
KQW_CXX="$KQ_WINDOWS_TRIPLE-g++-posix"
KQW_TOOLCHAIN="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/toolchain-mingw64.cmake"

# Source version of the Debian package that provides a host library, e.g.
# kqw_source_version libsqlite3-dev -> 3.40.1-2+deb12u2.
kqw_source_version() {
  local v
  v=$(dpkg-query -W -f='${source:Version}' "$1" 2>/dev/null) || true
  [ -n "$v" ] || kqw_die "$1 is not installed; its source version picks the Windows build's"
  echo "$v"
}

# A deb-src entry for every deb entry of the host's own sources, so that
# apt-get source fetches from the mirror this machine already uses.
kqw_enable_deb_src() {
  local list=/etc/apt/sources.list.d/kq-windows-src.sources
  [ -e "$list" ] && return 0
  [ -r /etc/apt/sources.list.d/debian.sources ] || [ -r /etc/apt/sources.list ] \
    || kqw_die "no apt sources on this machine to derive a deb-src line from"
  {
    if [ -r /etc/apt/sources.list.d/debian.sources ]; then
      sed -n -e 's/^Types:.*/Types: deb-src/p' -e '/^\(URIs\|Suites\|Components\|Signed-By\):/p' -e '/^$/p' \
        /etc/apt/sources.list.d/debian.sources
    fi
  } >"$list.tmp"
  if [ -r /etc/apt/sources.list ] && grep -q '^deb ' /etc/apt/sources.list; then
    grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' >/etc/apt/sources.list.d/kq-windows-src.list
  fi
  mv "$list.tmp" "$list"
  apt-get update -qq >&2 || kqw_die "apt-get update with the deb-src entries failed"
}

# Unpacks source package $1 at version $2 under the cache and prints the
# folder. Fails with a clear message when the mirror does not serve it.
kqw_fetch_source() {
  local pkg="$1" ver="$2" dest="$KQ_WINDOWS_CACHE/src/$1-$2"
  if [ ! -e "$dest/.complete" ]; then
    [ "$(id -u)" -eq 0 ] || kqw_die "fetching the $pkg source needs root (apt sources)"
    kqw_enable_deb_src
    local work="$dest.partial"
    rm -rf --one-file-system "$work" "$dest"
    mkdir -p "$work"
    kqw_log "fetching source $pkg $ver"
    (cd "$work" && apt-get source -qq "$pkg=$ver" >fetch.log 2>&1) || {
      tail -n 20 "$work/fetch.log" >&2
      kqw_die "cannot fetch the Debian source package $pkg $ver from this machine's apt mirror"
    }
    local tree
    tree=$(find "$work" -mindepth 1 -maxdepth 1 -type d | head -n 1)
    [ -n "$tree" ] || kqw_die "apt-get source $pkg left no source tree"
    mv "$tree" "$dest"
    rm -rf --one-file-system "$work"
    touch "$dest/.complete"
  fi
  echo "$dest"
}

# Cache folder for dependency $1 (version $2) built by recipe text $3.
kqw_prefix_for() {
  local hash
  hash=$(printf '%s\n%s\n%s\n' "$3" "$("$KQW_CXX" --version | head -n 1)" \
    "$(sha256sum <"$KQW_TOOLCHAIN")" | sha256sum | cut -c1-12)
  echo "$KQ_WINDOWS_CACHE/$1-$2-$hash"
}
