#!/usr/bin/env bash
# Builds the Debian package into build-package/: the app, brindleaf-cli, their man pages,
# the desktop entry, icon, AppStream metadata, bash completion, copyright and changelog,
# with the distribution's hardening flags. The programs are installed stripped, and no -dbgsym
# package is made (CMakeLists.txt says why).
# Then lintian checks the package: any error or warning fails. Install it with
#   sudo apt install ./build-package/brindleaf_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh package
# Fortify, stack protector, relro and bindnow, as Debian builds its packages.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
eval "$(dpkg-buildflags --export=sh)"
export CXXFLAGS="$CPPFLAGS $CXXFLAGS"
rm -rf build-package
cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DBRINDLEAF_BUILD_TESTS=OFF -DBRINDLEAF_BUILD_BENCH=OFF
cmake --build build-package --parallel "$(nproc)"
(cd build-package && cpack -G DEB)
ls build-package/brindleaf*.deb
lintian --fail-on error,warning --info \
    build-package/brindleaf_*_*.deb
