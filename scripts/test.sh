#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh -DBRINDLEAF_WARNINGS_AS_ERRORS=ON
ctest --test-dir build --output-on-failure --parallel "$(nproc)"
