#!/usr/bin/env bash
# Reads the dates taken of the same photos with brindleaf-cli's preview, exiv2 and exiftool,
# interleaved, and prints each one's median wall time: on a warm cache, then cold, as from a
# card just plugged in, every photo evicted from the page cache before each run
# (posix_fadvise POSIX_FADV_DONTNEED on each file, which needs no root).
#   dates-taken.sh BRINDLEAF_CLI [FOLDER] [COUNT] [jpg|raw]
# The photos, with camera tags and a date taken each, are made once under FOLDER (default
# /var/tmp, on the root file system) and kept for the next run: JPEGs of 1920x1080, or raw
# files as a camera writes them (TIFF-based, the header and directories first, then a
# megabyte of image data, named .NEF).
set -euo pipefail
cli=$(realpath "$1")
count=${3:-2000}
kind=${4:-jpg}
case $kind in
jpg) ext=jpg what=JPEGs ;;
raw) ext=NEF what="raw files" ;;
*) echo "dates-taken.sh: kind is jpg or raw, not $kind" >&2 && exit 2 ;;
esac
photos="${2:-/var/tmp}/brindleaf-dates-$count"
[ "$kind" = raw ] && photos+=-raw
rounds=5

if [ ! -f "$photos/.complete" ]; then
    rm -rf "$photos" && mkdir -p "$photos"
    if [ "$kind" = raw ]; then
        convert -size 1024x1024 xc:gray +noise Random -depth 8 -compress none "$photos/base.tif"
        mv "$photos/base.tif" "$photos/base.$ext"
        exiv2 -M"set Exif.Image.Make NIKON CORPORATION" -M"set Exif.Image.Model NIKON D750" \
            -M"set Exif.Photo.ExposureTime 1/250" -M"set Exif.Photo.FNumber 56/10" \
            -M"set Exif.Photo.ISOSpeedRatings 400" -M"set Exif.Photo.BodySerialNumber 6012345" \
            "$photos/base.$ext"
    else
        convert -size 1920x1080 xc:gray +noise Random -quality 85 "$photos/base.$ext"
        exiv2 -M"set Exif.Image.Make Canon" -M"set Exif.Image.Model Canon EOS R6" \
            -M"set Exif.Photo.ExposureTime 1/250" -M"set Exif.Photo.FNumber 56/10" \
            -M"set Exif.Photo.ISOSpeedRatings 400" -M"set Exif.Photo.LensModel RF24-105mm F4 L IS USM" \
            "$photos/base.$ext"
    fi
    for ((i = 0; i < count; i++)); do
        name=$(printf 'IMG_%05d.%s' $(((i * 7919) % count)) "$ext")
        cp "$photos/base.$ext" "$photos/$name"
        printf -v taken '2024:07:%02d %02d:%02d:%02d' $((1 + i / 1440 % 28)) $((i / 60 % 24)) $((i % 60)) $((i * 13 % 60))
        exiv2 -M"set Exif.Photo.DateTimeOriginal $taken" "$photos/$name"
    done
    rm "$photos/base.$ext"
    touch "$photos/.complete"
fi

evict() {
    python3 -c '
import os, sys
for path in sys.argv[1:]:
    fd = os.open(path, os.O_RDONLY)
    os.fsync(fd)
    os.posix_fadvise(fd, 0, 0, os.POSIX_FADV_DONTNEED)
    os.close(fd)
' "$photos"/*."$ext"
}
declare -A times
peers=(brindleaf exiv2 exiftool)
run() {
    case $1 in
    brindleaf) "$cli" -0 --order taken "$photos" >/dev/null 2>&1 ;;
    exiv2) exiv2 -g Exif.Photo.DateTimeOriginal "$photos"/*."$ext" >/dev/null ;;
    exiftool) exiftool -T -DateTimeOriginal "$photos" >/dev/null ;;
    esac
}
# rounds CACHE: times each peer `rounds` times, interleaved, the cache warm or cold.
rounds_on() {
    times=()
    [ "$1" = warm ] && cat "$photos"/*."$ext" >/dev/null
    for ((round = 0; round < rounds; round++)); do
        for peer in "${peers[@]}"; do
            [ "$1" = cold ] && evict
            start=$(date +%s.%N)
            run "$peer"
            end=$(date +%s.%N)
            times[$peer]+="$(awk "BEGIN { print $end - $start }") "
        done
    done
    echo "Dates taken of $count $what in $photos, $1 cache, median of $rounds interleaved rounds:"
    for peer in "${peers[@]}"; do
        median=$(tr ' ' '\n' <<<"${times[$peer]}" | grep . | sort -n | sed -n "$((rounds / 2 + 1))p")
        printf '  %-10s %6.3f s\n' "$peer" "$median"
    done
}
rounds_on warm
rounds_on cold
