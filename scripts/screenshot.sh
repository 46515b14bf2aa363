#!/usr/bin/env bash
# Takes the window's screenshot for the README and the AppStream metadata under Xvfb, on a
# sample folder, with a prefix typed and extensions kept, into resources/screenshots/.
#   screenshot.sh        needs a built build/window/brindleaf; installs xvfb, xdotool, imagemagick
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
cat >"$work/shoot" <<SHOOT
#!/usr/bin/env bash
export XDG_STATE_HOME="$work/state"
"$PWD/build/window/brindleaf" -qwindowgeometry 880x520+0+0 "$folder" &
sleep 3
window=\$(xdotool search --name "Trip to Kyoto" | head -1)
xdotool windowfocus --sync "\$window"
xdotool key alt+p; xdotool type "Kyoto_"
xdotool key alt+d ctrl+a; xdotool type "3"
xdotool key alt+k
sleep 1
import -window root -crop 880x520+0+0 "$PWD/resources/screenshots/window.png"
kill %1
SHOOT
chmod +x "$work/shoot"
xvfb-run -s "-screen 0 1000x640x24" "$work/shoot"
echo "Wrote resources/screenshots/window.png"
