#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# Formatting is checked here rather than fixed after the fact, so no commit is only a reformat.
git ls-files -z '*.cpp' '*.hpp' | xargs -0 clang-format --dry-run --Werror
scripts/build.sh -DBRINDLEAF_WARNINGS_AS_ERRORS=ON -DBRINDLEAF_BUILD_GUI=ON \
    -DBRINDLEAF_BUILD_TESTS=ON -DBRINDLEAF_BUILD_BENCH=ON
ctest --test-dir build --output-on-failure --parallel "$(nproc)"
