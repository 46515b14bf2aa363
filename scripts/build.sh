#!/usr/bin/env bash
# Configures build/ and builds. Arguments: CMake cache settings (-D...), then optionally
# "--" and the targets to build (everything when none are named).
set -euo pipefail
cd "$(dirname "$0")/.."
settings=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do settings+=("$1"); shift; done
[ "${1:-}" = "--" ] && shift
targets=()
for target in "$@"; do targets+=(--target "$target"); done
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "${settings[@]}"
cmake --build build --parallel "$(nproc)" "${targets[@]}"
