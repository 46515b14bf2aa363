#!/usr/bin/env bash
# Fails when a program, in the build tree or installed, has a library run path with an empty
# or relative entry, which the loader would search relative to the current directory or to a
# folder that a user can write to.
#   check-run-paths.sh BUILD_DIR PROGRAM...   (programs relative to BUILD_DIR's install prefix bin/)
set -euo pipefail
build=$1
shift
installed=$(mktemp -d)
trap 'rm -rf "$installed"' EXIT
cmake --install "$build" --prefix "$installed" >/dev/null
status=0
check() {
    local paths
    paths=$(readelf -d "$1" | sed -n 's/.*(\(RPATH\|RUNPATH\)).*\[\(.*\)\]/\2/p')
    [ -z "$paths" ] && return 0
    local IFS=:
    for entry in $paths""; do
        if [ -z "$entry" ] || [ "${entry#/}" = "$entry" ]; then
            echo "$1: run path [$paths] has an empty or relative entry"
            status=1
            return 0
        fi
    done
}
for program in "$@"; do
    check "$program"
    check "$installed/bin/$(basename "$program")"
done
exit $status
