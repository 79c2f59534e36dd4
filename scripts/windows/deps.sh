#!/usr/bin/env bash
# Builds the Windows (x86-64, MinGW) dependencies into the cache, once, and
# writes the prefixes the program's build uses to $KQ_WINDOWS_CACHE/prefixes.env:
#   Qt 6 (Core, Gui, Widgets, PrintSupport; windows and offscreen platform plugins) from
#   qt6-base, the SQLite amalgamation from sqlite3, libzip, libxlsxwriter,
#   libcsv, libxml2 and googletest, each from the Debian source of the version
#   installed here.
#   zlib comes ready-built from libz-mingw-w64-dev.
# Logs of each build lie beside its cache folder (NAME.log).
# Usage: scripts/windows/deps.sh [qt|sqlite|libzip|xlsxwriter|libcsv|libxml2|gtest ...]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=lib.sh
. "$here/lib.sh"

toolchain="$KQW_TOOLCHAIN"
zlib_prefix=/usr/$KQ_WINDOWS_TRIPLE

# Runs "$@" with its output in LOG; on failure shows the log's end.
kqw_logged() {
  local log="$1"
  shift
  "$@" >>"$log" 2>&1 || {
    tail -n 40 "$log" >&2
    kqw_die "failed: $* (log: $log)"
  }
}

# Builds a CMake project $1 (source folder) into prefix $2 with options.
kqw_cmake_build() {
  local src="$1" prefix="$2" log="$3"
  shift 3
  local build="$prefix.build"
  kqw_logged "$log" cmake -S "$src" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" "$@"
  kqw_logged "$log" cmake --build "$build" -j"$KQ_WINDOWS_JOBS"
  kqw_logged "$log" cmake --install "$build"
}

# Starts the build of a cache folder. An earlier build of the same recipe
# that was cut short left its build folder: ninja goes on from there.
# The caller holds the folder's lock (kqw_locked).
kqw_begin() {
  local prefix="$1"
  rm -rf --one-file-system "$prefix"
  mkdir -p "$prefix" "$prefix.build"
  echo "=== $(date -u '+%F %T') build" >>"$prefix.log"
}

# Takes the lock of cache folder $1 (held until the script ends) and tells
# whether it still has to be built: another run may have built it meanwhile.
kqw_needs_build() {
  [ -e "$1/.complete" ] && return 1
  local fd
  exec {fd}>"$1.lock"
  flock "$fd"
  [ ! -e "$1/.complete" ]
}

kqw_finish() {
  touch "$1/.complete"
  kqw_log "built $(basename "$1") in ${SECONDS} s"
  rm -rf --one-file-system "$1.build"
}

# --- Qt -------------------------------------------------------------------
# Host tools (moc, uic, rcc) come from the host's own Qt of the same version.
build_qt() {
  qt_version=$(kqw_source_version qt6-base-dev-tools)
  qt_host_version=$(/usr/lib/qt6/libexec/moc -v 2>/dev/null | awk '{print $2}') || true
  case "$qt_version" in
    "$qt_host_version"+* | "$qt_host_version"-*) ;;
    *) kqw_die "host Qt tools ($qt_host_version) differ from qt6-base $qt_version" ;;
  esac
  # Print Support is built: the print preview needs it, and Qt 6 links its
  # Windows printer support into Qt6PrintSupport.dll (no plugin to ship).
  # No directwrite at all: QtGui builds its DirectWrite font engine only
  # with direct2d, yet the Windows print engine calls it whenever the
  # directwrite feature is on, and Qt6PrintSupport.dll then fails to link.
  # No directwrite3: 6.4.2's windows plugin then wants the DirectWrite font
  # database, which QtGui builds only together with direct2d. Its configure
  # option does not reach the feature; FEATURE_directwrite3 below does.
  qt_configure=(-release -shared -xplatform win32-g++
    -device-option CROSS_COMPILE=$KQ_WINDOWS_TRIPLE- -qt-host-path /usr
    -nomake examples -nomake tests
    -no-opengl -no-dbus -no-icu -no-feature-tabletevent
    -qt-zlib -qt-libpng -qt-libjpeg -qt-freetype -qt-harfbuzz -qt-pcre
    -no-feature-sql -no-feature-network -no-feature-xml
    -no-feature-concurrent -no-feature-testlib -no-zstd -no-pkg-config
    -no-feature-direct2d -no-feature-vulkan -no-feature-directwrite -no-feature-directwrite3)
  # Debian keeps the host Qt's CMake packages under the multiarch folder.
  qt_cmake_args=(-DQT_HOST_PATH_CMAKE_DIR=/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake
    -DFEATURE_directwrite=OFF -DFEATURE_directwrite3=OFF)
  local recipe="${qt_configure[*]} -- ${qt_cmake_args[*]}"
  qt_prefix=$(kqw_prefix_for qt6-base "$qt_version" "$recipe")
  # One build folder per Qt version. Qt's configure run again in it keeps
  # the options it had and adds the new ones, so a recipe that only adds
  # options goes on from the last build; one that drops an option must
  # start afresh (delete the folder).
  local build="$KQ_WINDOWS_CACHE/qt6-base-$qt_version.build"
  if kqw_needs_build "$qt_prefix"; then
    SECONDS=0
    qt_src=$(kqw_fetch_source qt6-base "$qt_version")
    rm -rf --one-file-system "$qt_prefix"
    mkdir -p "$qt_prefix" "$build"
    echo "=== $(date -u '+%F %T') build" >>"$qt_prefix.log"
    kqw_log "building Qt $qt_version for Windows (about 15 min on 2 idle cores; log: $qt_prefix.log)"
    (
      cd "$build"
      if [ ! -e build.ninja ] || [ "$(cat kq-recipe 2>/dev/null)" != "$recipe $qt_prefix" ]; then
        rm -f kq-recipe
        kqw_logged "$qt_prefix.log" "$qt_src/configure" -prefix "$qt_prefix" "${qt_configure[@]}" \
          -- -DCMAKE_TOOLCHAIN_FILE="$toolchain" "${qt_cmake_args[@]}"
        echo "$recipe $qt_prefix" >kq-recipe
      fi
      kqw_logged "$qt_prefix.log" cmake --build . --parallel "$KQ_WINDOWS_JOBS"
      kqw_logged "$qt_prefix.log" cmake --install .
    )
    touch "$qt_prefix/.complete"
    kqw_log "built $(basename "$qt_prefix") in ${SECONDS} s"
    rm -rf --one-file-system "$build"
  fi
}

# --- SQLite ---------------------------------------------------------------
# The amalgamation is generated on the host (it needs tclsh), then compiled
# for Windows with Debian's own feature flags into a static library.
build_sqlite() {
  sqlite_version=$(kqw_source_version libsqlite3-dev)
  sqlite_flags=(-O2 -fno-strict-aliasing -DSQLITE_OS_WIN=1
    -DSQLITE_SECURE_DELETE -DSQLITE_ENABLE_COLUMN_METADATA
    -DSQLITE_ENABLE_FTS3 -DSQLITE_ENABLE_FTS3_PARENTHESIS
    -DSQLITE_ENABLE_RTREE=1 -DSQLITE_SOUNDEX=1 -DSQLITE_ENABLE_UNLOCK_NOTIFY
    -DSQLITE_OMIT_LOOKASIDE=1 -DSQLITE_ENABLE_DBSTAT_VTAB -DSQLITE_ALLOW_ROWID_IN_VIEW
    -DSQLITE_ENABLE_UPDATE_DELETE_LIMIT=1 -DSQLITE_ENABLE_LOAD_EXTENSION
    -DSQLITE_ENABLE_JSON1 -DSQLITE_LIKE_DOESNT_MATCH_BLOBS -DSQLITE_THREADSAFE=1
    -DSQLITE_ENABLE_FTS3_TOKENIZER=1 -DSQLITE_USE_URI=1 -DSQLITE_MAX_SCHEMA_RETRY=25
    -DSQLITE_ENABLE_PREUPDATE_HOOK -DSQLITE_ENABLE_SESSION -DSQLITE_ENABLE_STMTVTAB
    -DSQLITE_MAX_VARIABLE_NUMBER=250000)
  sqlite_prefix=$(kqw_prefix_for sqlite3 "$sqlite_version" "${sqlite_flags[*]} static")
  if kqw_needs_build "$sqlite_prefix"; then
    SECONDS=0
    command -v tclsh >/dev/null || kqw_die "tclsh (package tcl) is needed to generate sqlite3.c"
    sqlite_src=$(kqw_fetch_source sqlite3 "$sqlite_version")
    kqw_begin "$sqlite_prefix"
    kqw_log "building SQLite $sqlite_version for Windows"
    mkdir -p "$sqlite_prefix/include" "$sqlite_prefix/lib/pkgconfig"
    (
      cd "$sqlite_prefix.build"
      kqw_logged "$sqlite_prefix.log" "$sqlite_src/configure" --disable-tcl
      kqw_logged "$sqlite_prefix.log" make sqlite3.c
      kqw_logged "$sqlite_prefix.log" "$KQW_CC" "${sqlite_flags[@]}" -c sqlite3.c -o sqlite3.o
      kqw_logged "$sqlite_prefix.log" "$KQ_WINDOWS_TRIPLE-ar" rcs "$sqlite_prefix/lib/libsqlite3.a" sqlite3.o
      cp sqlite3.h sqlite3ext.h "$sqlite_prefix/include/"
    )
    cat >"$sqlite_prefix/lib/pkgconfig/sqlite3.pc" <<PC
prefix=$sqlite_prefix
Name: SQLite
Description: SQL database engine (static, for Windows)
Version: ${sqlite_version%%-*}
Libs: -L\${prefix}/lib -lsqlite3
Cflags: -I\${prefix}/include
PC
    kqw_finish "$sqlite_prefix"
  fi
}

# --- CMake-built libraries -----------------------------------------------
# build_cmake_dep NAME DEV_PACKAGE CMAKE_ARG...: the Debian source of NAME, at
# the version of the host's DEV_PACKAGE, built once into its cache prefix,
# which is left in cmake_dep_prefix.
build_cmake_dep() {
  local name=$1 dev_package=$2 version src
  shift 2
  version=$(kqw_source_version "$dev_package")
  cmake_dep_prefix=$(kqw_prefix_for "$name" "$version" "$*")
  if kqw_needs_build "$cmake_dep_prefix"; then
    SECONDS=0
    src=$(kqw_fetch_source "$name" "$version")
    kqw_begin "$cmake_dep_prefix"
    kqw_log "building $name $version for Windows"
    kqw_cmake_build "$src" "$cmake_dep_prefix" "$cmake_dep_prefix.log" "$@"
    kqw_finish "$cmake_dep_prefix"
  fi
}

# Only deflate (zlib); Windows' own file calls take the UTF-8 names as UTF-16.
build_libzip() {
  build_cmake_dep libzip libzip-dev -DBUILD_SHARED_LIBS=ON -DENABLE_COMMONCRYPTO=OFF \
    -DENABLE_GNUTLS=OFF -DENABLE_MBEDTLS=OFF -DENABLE_OPENSSL=OFF -DENABLE_WINDOWS_CRYPTO=OFF \
    -DENABLE_BZIP2=OFF -DENABLE_LZMA=OFF -DENABLE_ZSTD=OFF \
    -DBUILD_TOOLS=OFF -DBUILD_REGRESS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_DOC=OFF
  libzip_prefix=$cmake_dep_prefix
}

build_xlsxwriter() {
  build_cmake_dep libxlsxwriter libxlsxwriter-dev -DBUILD_SHARED_LIBS=ON \
    -DUSE_SYSTEM_MINIZIP=OFF -DBUILD_TESTS=OFF -DBUILD_EXAMPLES=OFF
  xlsxwriter_prefix=$cmake_dep_prefix
}

# Only the HTML and push parsers are used: no iconv (the program hands it
# UTF-8), no compression, no network, no programs.
build_libxml2() {
  build_cmake_dep libxml2 libxml2-dev -DBUILD_SHARED_LIBS=ON -DLIBXML2_WITH_ICONV=OFF \
    -DLIBXML2_WITH_LZMA=OFF -DLIBXML2_WITH_ZLIB=OFF -DLIBXML2_WITH_PYTHON=OFF \
    -DLIBXML2_WITH_HTTP=OFF -DLIBXML2_WITH_FTP=OFF -DLIBXML2_WITH_MODULES=OFF \
    -DLIBXML2_WITH_TESTS=OFF -DLIBXML2_WITH_PROGRAMS=OFF
  libxml2_prefix=$cmake_dep_prefix
}

# --- libcsv ---------------------------------------------------------------
# One C file; its autotools build does not cross-build a DLL, so it is
# compiled directly. A DLL of its own, as its licence (LGPL) suits best.
build_libcsv() {
  local version src flags=(-O2 -shared)
  version=$(kqw_source_version libcsv-dev)
  libcsv_prefix=$(kqw_prefix_for libcsv "$version" "${flags[*]} dll")
  if kqw_needs_build "$libcsv_prefix"; then
    SECONDS=0
    src=$(kqw_fetch_source libcsv "$version")
    kqw_begin "$libcsv_prefix"
    kqw_log "building libcsv $version for Windows"
    mkdir -p "$libcsv_prefix/include" "$libcsv_prefix/lib" "$libcsv_prefix/bin"
    kqw_logged "$libcsv_prefix.log" "$KQW_CC" "${flags[@]}" -I"$src" "$src/libcsv.c" \
      -o "$libcsv_prefix/bin/libcsv.dll" -Wl,--out-implib,"$libcsv_prefix/lib/libcsv.dll.a"
    cp "$src/csv.h" "$libcsv_prefix/include/"
    kqw_finish "$libcsv_prefix"
  fi
}

build_gtest() {
  build_cmake_dep googletest libgtest-dev -DBUILD_SHARED_LIBS=OFF -DBUILD_GMOCK=ON \
    -Dgtest_disable_pthreads=OFF
  gtest_prefix=$cmake_dep_prefix
}

# Builds the named dependencies (all when none is named); with all of them
# built, records their prefixes for scripts/windows/build.sh.
main() {
  mkdir -p "$KQ_WINDOWS_CACHE"
  kqw_install_toolchain
  [ -e "$zlib_prefix/lib/libz.dll.a" ] || kqw_die "libz-mingw-w64-dev gave no $zlib_prefix/lib/libz.dll.a"
  local deps=("$@") dep
  [ "${#deps[@]}" -gt 0 ] || deps=(qt sqlite libzip xlsxwriter libcsv libxml2 gtest)
  for dep in "${deps[@]}"; do
    declare -F "build_$dep" >/dev/null || kqw_die "unknown dependency '$dep' (qt sqlite libzip xlsxwriter libcsv libxml2 gtest)"
    "build_$dep"
  done
  [ "$#" -eq 0 ] || return 0
  cat >"$KQ_WINDOWS_CACHE/prefixes.env.tmp" <<ENV
KQW_QT_PREFIX=$qt_prefix
KQW_SQLITE_PREFIX=$sqlite_prefix
KQW_LIBZIP_PREFIX=$libzip_prefix
KQW_XLSXWRITER_PREFIX=$xlsxwriter_prefix
KQW_LIBCSV_PREFIX=$libcsv_prefix
KQW_LIBXML2_PREFIX=$libxml2_prefix
KQW_GTEST_PREFIX=$gtest_prefix
KQW_ZLIB_PREFIX=$zlib_prefix
ENV
  mv "$KQ_WINDOWS_CACHE/prefixes.env.tmp" "$KQ_WINDOWS_CACHE/prefixes.env"
}

# Whole script read before anything runs, so editing it mid-build is safe.
main "$@"
exit
