#!/usr/bin/env bash
# Builds the Debian package (build-deb/kq_VERSION_ARCH.deb) with CPack: a
# Release build installed under /usr, dependencies taken from the shared
# libraries by dpkg-shlibdeps. Check it with scripts/deb-check.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh package
source scripts/lib/ccache.sh
cmake -S . -B build-deb -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DKQ_BUILD_TESTS=OFF -DKQ_BUILD_BENCH=OFF -DKQ_WERROR=ON "${KQ_CCACHE[@]}"
cmake --build build-deb -j"$(nproc)"
(cd build-deb && cpack -G DEB)
ls -l build-deb/kq_*.deb
