#!/usr/bin/env bash
# Builds the Debian package into build-package/: the app, brindleaf-cli, their man pages,
# the desktop entry, icon, AppStream metadata and bash completion. Install it with
#   sudo apt install ./build-package/brindleaf_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh package
cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DBRINDLEAF_BUILD_TESTS=OFF -DBRINDLEAF_BUILD_BENCH=OFF
cmake --build build-package --parallel "$(nproc)"
(cd build-package && cpack -G DEB)
ls build-package/brindleaf_*.deb
