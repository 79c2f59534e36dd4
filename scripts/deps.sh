#!/usr/bin/env bash
# Installs what building, testing and running need, from Debian 12 packages.
# zlib1g-dev is listed on its own: xlsxwriter.pc links -lz, but
# libxlsxwriter-dev does not depend on it.
# Usage: scripts/deps.sh [run] [package] [windows] [sanitize] [ci]
#   run      adds the fonts and the spreadsheet program
#   package  adds what cpack's DEB generator needs (dpkg-shlibdeps from dpkg-dev,
#            file) and what scripts/deb-check.sh needs (debootstrap, bubblewrap)
#   windows  adds what scripts/windows/build.sh needs: the MinGW-w64 cross
#            compiler, Wine to run the tests, apt-get source (dpkg-dev), tclsh
#            to generate SQLite's amalgamation, ninja, zip, the Qt host tools
#            a CJK font for the tests' windows and the X server they draw on
#            (xvfb-run, which needs xauth)
#   sanitize adds clang and its runtimes for the ASan/UBSan suite and the
#            fuzzer (scripts/sanitize.sh)
#   ci       all of package, windows and sanitize: what .ci/run needs, installed
#            once before its first step
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
packages=(cmake g++ make pkg-config clang-format ccache
          qt6-base-dev libsqlite3-dev libzip-dev libxlsxwriter-dev zlib1g-dev
          libcsv-dev libxml2-dev
          libgtest-dev libgmock-dev libbenchmark-dev
          python3 python3-xlwt python3-openpyxl python3-xlrd)
# pdftotext reads the print layout's PDF back in the tests; the Chinese it
# holds is only drawn, and so only read back, with a CJK font.
packages+=(poppler-utils fonts-wqy-zenhei)
# Qt's own Chinese texts for the standard buttons (确定, 是, 否).
packages+=(qt6-translations-l10n)
declare -A mode_packages=(
  [run]="fonts-wqy-zenhei libreoffice-calc"
  [package]="dpkg-dev file debootstrap bubblewrap"
  [windows]="g++-mingw-w64-x86-64-posix mingw-w64-tools libz-mingw-w64-dev
             wine wine64 dpkg-dev tcl ninja-build zip qt6-base-dev-tools
             fonts-wqy-zenhei fonts-dejavu-core xvfb xauth"
  [sanitize]="clang libclang-rt-14-dev"
)
mode_packages[ci]="${mode_packages[package]} ${mode_packages[windows]} ${mode_packages[sanitize]}"
for mode in "$@"; do
  [ -n "${mode_packages[$mode]:-}" ] ||
    { echo "deps.sh: unknown mode '$mode' (run, package, windows, sanitize, ci)" >&2; exit 2; }
  # shellcheck disable=SC2206  # the lists split on blanks
  packages+=(${mode_packages[$mode]})
done
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
