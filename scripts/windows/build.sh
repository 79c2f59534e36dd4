#!/usr/bin/env bash
# Cross-builds the program for 64-bit Windows, runs the whole test suite
# under Wine, and packs kq-windows-x64.zip (in build-windows/): kq.exe with
# the Qt, library and MinGW runtime DLLs it needs, the windows platform and
# style plugins, Qt's Chinese texts and the README.
# Usage: scripts/windows/build.sh [--no-tests]
# The dependencies are built once into /var/cache/kq-windows (deps.sh; the
# first run takes about 17 minutes on two cores), the build goes to
# build-windows/, the Wine prefix for the tests to build-windows/wine/.
set -euo pipefail
cd "$(dirname "$0")/../.."
root="$(pwd)"
here="$root/scripts/windows"
# shellcheck source=lib.sh
. "$here/lib.sh"

run_tests=1
for arg in "$@"; do
  case "$arg" in
    --no-tests) run_tests=0 ;;
    *) kqw_die "unknown option '$arg' (--no-tests)" ;;
  esac
done

SECONDS=0
bash "$here/deps.sh"
# shellcheck disable=SC1091
. "$KQ_WINDOWS_CACHE/prefixes.env"
echo "windows dependencies: ${SECONDS} s"

build="$root/build-windows"
mkdir -p "$build"
export WINEPREFIX="$build/wine" WINEDEBUG=-all WINEARCH=win64
# Tests and the packing step run the programs through this wrapper. Wine
# hands a Windows program the host's environment except the QT_* variables
# (a Linux Qt's settings), so the tests' QT_QPA_PLATFORM=offscreen does not
# reach them: they draw with Qt's windows platform on Xvfb. That is also
# where they pass: under Qt's offscreen platform on Windows (WINEQT_QPA_PLATFORM)
# the date pickers' texts measure wider than their boxes.
cat >"$build/wine-run.sh" <<EOF
#!/bin/sh
export WINEPREFIX="$WINEPREFIX" WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
exec wine "\$@"
EOF
chmod +x "$build/wine-run.sh"

SECONDS=0
prefixes="$KQW_QT_PREFIX;$KQW_SQLITE_PREFIX;$KQW_LIBZIP_PREFIX;$KQW_XLSXWRITER_PREFIX;$KQW_LIBCSV_PREFIX"
prefixes+=";$KQW_LIBXML2_PREFIX;$KQW_GTEST_PREFIX"
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
tests_option=ON
[ "$run_tests" -eq 1 ] || tests_option=OFF
# shellcheck source=../lib/ccache.sh
. "$root/scripts/lib/ccache.sh"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKQ_WERROR=ON "${KQ_CCACHE[@]}" \
  -DCMAKE_TOOLCHAIN_FILE="$KQW_TOOLCHAIN" -DKQ_WINDOWS_PREFIXES="$prefixes" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$multiarch/cmake" \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$build/wine-run.sh" \
  -DKQ_BUILD_TESTS="$tests_option" -DKQ_BUILD_BENCH=OFF
cmake --build "$build" -j"$(nproc)"
echo "windows build: ${SECONDS} s"

# --- runtime beside the programs ------------------------------------------
# The DLLs every program here imports, found by walking the import tables
# through the folders that hold Windows DLLs; system DLLs are in none of them.
dll_dirs=("$KQW_QT_PREFIX/bin" "$KQW_LIBZIP_PREFIX/bin" "$KQW_XLSXWRITER_PREFIX/bin"
          "$KQW_LIBCSV_PREFIX/bin" "$KQW_LIBXML2_PREFIX/bin"
          "$KQW_ZLIB_PREFIX/lib" "/usr/$KQ_WINDOWS_TRIPLE/lib"
          "$(dirname "$("$KQW_CXX" -print-libgcc-file-name)")")
# copy_imports BINARY DEST DIR...: the DLLs BINARY imports that lie in one
# of the DIRs, and the ones those import in turn, copied into DEST.
declare -A copied=()
copy_imports() {
  local binary="$1" dest="$2" dll dir
  shift 2
  for dll in $("$KQ_WINDOWS_TRIPLE-objdump" -p "$binary" | awk '/DLL Name:/ {print $3}'); do
    [ -z "${copied[$dest/${dll,,}]:-}" ] || continue
    for dir in "$@"; do
      if [ -e "$dir/$dll" ]; then
        copied[$dest/${dll,,}]=1
        cp -u "$dir/$dll" "$dest/$dll"
        copy_imports "$dir/$dll" "$dest" "$@"
        break
      fi
    done
  done
}
plugins=(platforms/qwindows.dll platforms/qoffscreen.dll styles/qwindowsvistastyle.dll)
for plugin in "${plugins[@]}"; do
  [ -e "$KQW_QT_PREFIX/plugins/$plugin" ] || kqw_die "Qt plugin $plugin missing in $KQW_QT_PREFIX"
  mkdir -p "$build/$(dirname "$plugin")"
  cp -u "$KQW_QT_PREFIX/plugins/$plugin" "$build/$plugin"
  copy_imports "$build/$plugin" "$build" "${dll_dirs[@]}"
done
for exe in "$build"/*.exe; do copy_imports "$exe" "$build" "${dll_dirs[@]}"; done
mkdir -p "$build/translations"
qm=/usr/share/qt6/translations/qtbase_zh_CN.qm
[ -e "$qm" ] || kqw_die "$qm missing (package qt6-translations-l10n)"
cp -u "$qm" "$build/translations/"
# Qt looks for its plugins and texts beside the program, not where it was built.
printf '[Paths]\nPrefix=.\nPlugins=.\nTranslations=translations\n' >"$build/qt.conf"

# --- tests ----------------------------------------------------------------
if [ "$run_tests" -eq 1 ]; then
  SECONDS=0
  [ -e "$WINEPREFIX/system.reg" ] || "$build/wine-run.sh" wineboot --init >/dev/null 2>&1 || true
  # Wine keeps the display its server started with: a server left from a
  # run without one (wineboot above) must end before the tests start.
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w
  # The first Windows program starts Wine's server and services, which
  # keep its output open: started by a test, they would keep ctest waiting
  # on that test until the last one ends. A console program reading an
  # input that stays open starts them here instead, on the tests' display,
  # and keeps them up until the tests are done.
  xvfb-run -a -s '-screen 0 1920x1200x24' bash -c '
    coproc keeper { "$1/wine-run.sh" cmd.exe >/dev/null 2>&1; }
    "$1/wine-run.sh" wineboot >/dev/null 2>&1 </dev/null
    ctest --test-dir "$1" --output-on-failure -j"$2"
    status=$?
    exec {keeper[1]}>&-
    wineserver -k
    exit $status' tests "$build" "$(nproc)"
  echo "windows tests: ${SECONDS} s"
fi

# --- package --------------------------------------------------------------
SECONDS=0
stage="$build/package/kq"
rm -rf "$build/package"
mkdir -p "$stage/platforms" "$stage/styles" "$stage/translations"
cp "$build/kq.exe" "$stage/"
cp "$build/platforms/qwindows.dll" "$stage/platforms/"
cp "$build/styles/qwindowsvistastyle.dll" "$stage/styles/"
for binary in kq.exe platforms/qwindows.dll styles/qwindowsvistastyle.dll; do
  copy_imports "$stage/$binary" "$stage" "$build"
done
cp "$build/translations/qtbase_zh_CN.qm" "$stage/translations/"
cp "$build/qt.conf" "$stage/"
"$KQ_WINDOWS_TRIPLE-strip" "$stage/kq.exe"
# The README's Windows section, with Windows line ends for Notepad.
awk '/^## Windows/ {on = 1; print; next} on && /^## / {exit} on' README.md | sed 's/$/\r/' >"$stage/README.txt"
[ -s "$stage/README.txt" ] || kqw_die "README.md has no '## Windows' section"
rm -f "$build/kq-windows-x64.zip"
# Files at the top: unpacked into any folder, the program lies in that folder.
(cd "$stage" && zip -qr9 "$build/kq-windows-x64.zip" .)
# The packed program answers from its own folder, nothing else on the path.
version=$(cd "$stage" && "$build/wine-run.sh" ./kq.exe --version 2>/dev/null | tr -d '\r')
case "$version" in
  *kq*) ;;
  *) kqw_die "the packed kq.exe did not start under Wine (got: '$version')" ;;
esac
echo "windows package: ${SECONDS} s"
ls -l "$build/kq-windows-x64.zip"
