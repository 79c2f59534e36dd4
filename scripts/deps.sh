#!/usr/bin/env bash
# Installs what building, testing and running need, from Debian 12 packages.
# zlib1g-dev is listed on its own: xlsxwriter.pc links -lz, but
# libxlsxwriter-dev does not depend on it.
# Usage: scripts/deps.sh [run]   ("run" adds the fonts and the spreadsheet program)
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
packages=(cmake g++ make pkg-config clang-format
          qt6-base-dev libsqlite3-dev libzip-dev libxlsxwriter-dev zlib1g-dev
          libgtest-dev libgmock-dev libbenchmark-dev
          python3 python3-xlwt python3-openpyxl python3-xlrd)
if [ "${1:-}" = "run" ]; then
  packages+=(fonts-wqy-zenhei libreoffice-calc)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
