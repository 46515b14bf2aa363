#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh -DBRINDLEAF_WARNINGS_AS_ERRORS=ON -DBRINDLEAF_BUILD_GUI=ON \
    -DBRINDLEAF_BUILD_TESTS=ON -DBRINDLEAF_BUILD_BENCH=ON
ctest --test-dir build --output-on-failure --parallel "$(nproc)"
