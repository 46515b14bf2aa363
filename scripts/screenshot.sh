#!/usr/bin/env bash
# Takes the window's screenshots for the README and the AppStream metadata under Xvfb, on a
# 1280x800 screen, into resources/screenshots/: window.png, the window as it opens on a
# sample folder with a prefix typed and extensions kept, and photos-by-date.png, a folder
# of photos from two cameras and a phone numbered by date taken, related files together.
#   screenshot.sh        needs a built build/window/brindleaf
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh screenshot
# The path shows in the window; a fixed, short one reads better than a temporary one.
work=/tmp/Pictures
if [ -e "$work" ]; then
    echo "$work is in the way; move it and run again" >&2
    exit 1
fi
trap 'rm -rf "$work"' EXIT
folder="$work/Trip to Kyoto"
mkdir -p "$folder/raw files"
for name in "IMG_2041.JPG" "IMG_2042.JPG" "IMG_2043.JPG" "IMG_2110.JPG" "IMG_2111.JPG" \
    "DSC 7.jpg" "DSC 12.jpg" "DSC 100.jpg" "temple gate.png" "notes.txt"; do
    echo "$name" >"$folder/$name"
done
photos="$work/Holiday"
mkdir -p "$photos/Videos"
taken=("DSC_0412.JPG 09:12" "PXL_20260814_0931.jpg 09:31" "IMG_0087.JPG 10:05"
    "DSC_0413.JPG 10:47" "IMG_0088.JPG 11:20" "PXL_20260814_1203.jpg 12:03"
    "DSC_0414.JPG 13:38" "IMG_0089.JPG 15:02")
for entry in "${taken[@]}"; do
    read -r name time <<<"$entry"
    printf '\xff\xd8\xff\xd9' >"$photos/$name"
    exiv2 -M"set Exif.Photo.DateTimeOriginal 2026:08:14 $time:00" "$photos/$name"
done
touch "$photos/IMG_0088.CR2" "$photos/IMG_0088.CR2.xmp" "$photos/.thumbnails.db"
echo "packing list" >"$photos/notes.txt"
cat >"$work/shoot" <<SHOOT
#!/usr/bin/env bash
export XDG_STATE_HOME="$work/state"
shoot() { # shoot FOLDER OUTPUT KEYS...
    "$PWD/build/window/brindleaf" "\$1" &
    sleep 3
    local window
    window=\$(xdotool search --onlyvisible --name "Brindleaf" | head -1)
    xdotool windowfocus --sync "\$window"
    for keys in "\${@:3}"; do
        case \$keys in type:*) xdotool type "\${keys#type:}" ;; *) xdotool key \$keys ;; esac
        sleep 0.3
    done
    sleep 1
    eval "\$(xdotool getwindowgeometry --shell "\$window")"
    import -window root -crop "\${WIDTH}x\${HEIGHT}+\${X}+\${Y}" "\$2"
    kill %1
    wait
}
shoot "$folder" "$PWD/resources/screenshots/window.png" alt+p type:Kyoto_ "alt+d ctrl+a" type:3 alt+k
shoot "$photos" "$PWD/resources/screenshots/photos-by-date.png" alt+b End alt+t alt+h alt+l \
    alt+p type:Holiday_
SHOOT
chmod +x "$work/shoot"
xvfb-run -s "-screen 0 1280x800x24" "$work/shoot"
echo "Wrote resources/screenshots/window.png and photos-by-date.png"
