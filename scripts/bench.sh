#!/usr/bin/env bash
# Builds and runs the benchmarks: every engine stage beside its raw system-call baseline on
# folders of 10,000 to 1,000,000 entries, the window driven offscreen over 1,000,000 and
# ordering 100,000 small photos by date taken, brindleaf-cli beside mmv and perl rename on
# fresh folders of the same shuffled names, and beside exiv2 and exiftool reading the dates
# taken of 2,000 JPEGs and 2,000 raw files on the root file system.
#   bench.sh [FOLDER]   folders are made under FOLDER (default /dev/shm, a tmpfs)
set -euo pipefail
cd "$(dirname "$0")/.."
folder="${1:-/dev/shm}"
scripts/install-deps.sh bench
scripts/build.sh -DBRINDLEAF_BUILD_BENCH=ON -- brindleaf-bench brindleaf-window-bench \
    brindleaf-peer-bench brindleaf-cli
echo "Machine: $(nproc) cores, $(free -g | awk '/^Mem:/ {print $2}') GiB, $(uname -sr)"
build/bench/brindleaf-bench "$folder"
QT_QPA_PLATFORM=offscreen build/bench/brindleaf-window-bench "$folder" 1000000 2>/dev/null
build/bench/brindleaf-peer-bench build/cli/brindleaf-cli "$folder" 10000 100000 1000000
photo=$(mktemp --suffix=.jpg)
trap 'rm -f "$photo"' EXIT
printf '\xff\xd8\xff\xd9' >"$photo"
exiv2 -M"set Exif.Photo.DateTimeOriginal 2024:07:01 10:00:00" -M"set Exif.Image.Make Canon" "$photo"
QT_QPA_PLATFORM=offscreen build/bench/brindleaf-window-bench "$folder" 100000 "$photo" 2>/dev/null
bench/dates-taken.sh build/cli/brindleaf-cli
bench/dates-taken.sh build/cli/brindleaf-cli /var/tmp 2000 raw
