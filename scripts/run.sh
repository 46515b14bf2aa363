#!/usr/bin/env bash
# Installs what is missing, builds the application, and launches it on the current display.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh run
scripts/build.sh -- brindleaf
exec build/window/brindleaf
