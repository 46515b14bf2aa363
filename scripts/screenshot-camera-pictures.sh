#!/usr/bin/env bash
# Takes resources/screenshots/cameras-pictures.png under Xvfb on a 1400x900 screen: a trip of
# photos from two cameras and a phone, ordered by date taken, with the camera list open and
# each camera beside its first photo. The photos are drawn by ImageMagick and tagged by
# exiftool as their cameras would have written them; none has an EXIF thumbnail, so their
# pictures are decoded at reduced size.
#   screenshot-camera-pictures.sh        needs a built build/window/brindleaf
set -euo pipefail
cd "$(dirname "$0")/.."
for tool in convert exiftool xvfb-run xdotool import; do
    command -v "$tool" >/dev/null || { echo "needs $tool" >&2; exit 1; }
done
# The path shows in the window; a fixed, short one reads better than a temporary one.
work=/tmp/Pictures
if [ -e "$work" ]; then
    echo "$work is in the way; move it and run again" >&2
    exit 1
fi
trap 'rm -rf "$work"' EXIT
trip="$work/Trip to the Alps"
mkdir -p "$trip"

# shot NAME MAKE MODEL "YYYY:MM:DD HH:MM:SS" OFFSET CONVERT-ARGUMENTS...
shot() {
    local name=$1 make=$2 model=$3 date=$4 offset=$5
    convert -size 1600x1200 "${@:6}" -quality 90 "$trip/$name"
    local tags=(-Make="$make" -Model="$model" -DateTimeOriginal="$date")
    [ -n "$offset" ] && tags+=(-OffsetTimeOriginal="$offset")
    exiftool -q -overwrite_original "${tags[@]}" "$trip/$name"
}
sunrise=(gradient:'#ffb347'-'#4b2c6f' -fill '#ffe08a' -draw 'circle 800,820 800,690'
    -fill '#1f2a3a' -draw 'polygon 0,1200 0,880 350,700 700,930 1050,640 1600,900 1600,1200')
lake=(gradient:'#8fd3ff'-'#1b4f8a' -fill '#2e6b3a'
    -draw 'polygon 0,700 300,420 620,700 900,380 1250,700 1600,500 1600,760 0,760'
    -fill '#3b7fc4' -draw 'rectangle 0,760 1600,1200')
meadow=(plasma:'#3f8f3a'-'#b9e07a' -blur 0x12 -fill '#ffffff' -draw 'circle 1250,260 1250,180')
breakfast=(xc:'#8a5a35' -fill '#f4f1ea' -draw 'circle 800,600 800,220'
    -fill '#ffffff' -draw 'circle 720,560 720,400' -fill '#f5b700' -draw 'circle 720,560 720,500'
    -fill '#c8553d' -draw 'roundrectangle 930,480 1120,760 30,30')
night=(gradient:'#0b1a3a'-'#000000' -fill '#fffbe0' -draw 'circle 1200,300 1200,230'
    -fill '#1a1a1a' -draw 'polygon 0,1200 0,950 500,800 1000,980 1600,820 1600,1200')

shot DSC_4410.JPG NIKON "NIKON D750" "2024:07:12 06:02:10" "" "${sunrise[@]}"
shot DSC_4411.JPG NIKON "NIKON D750" "2024:07:12 09:41:55" "" "${lake[@]}"
shot DSC_4412.JPG NIKON "NIKON D750" "2024:07:12 21:15:03" "" "${night[@]}"
shot IMG_0318.JPG Canon "Canon EOS R6" "2024:07:12 08:30:12" "+02:00" "${lake[@]}" -flop
shot IMG_0317.JPG Canon "Canon EOS R6" "2024:07:12 07:48:40" "+02:00" "${meadow[@]}"
shot IMG_0319.JPG Canon "Canon EOS R6" "2024:07:12 13:05:27" "+02:00" "${night[@]}" -flop
shot IMG_5120.JPG Apple "iPhone 13" "2024:07:12 07:15:00" "+02:00" "${breakfast[@]}"
shot IMG_5121.JPG Apple "iPhone 13" "2024:07:12 12:20:31" "+02:00" "${meadow[@]}" -flop

cat >"$work/shoot" <<SHOOT
#!/usr/bin/env bash
export XDG_STATE_HOME="$work/state" XDG_CACHE_HOME="$work/cache"
"$PWD/build/window/brindleaf" "$trip" &
sleep 3
window=\$(xdotool search --onlyvisible --name "Brindleaf" | head -1)
xdotool windowfocus --sync "\$window"
# Order by date taken, keep the extensions, then open the camera list.
for keys in alt+b End alt+k alt+c; do
    xdotool key \$keys
    sleep 0.5
done
sleep 2
eval "\$(xdotool getwindowgeometry --shell "\$window")"
import -window root -crop "\${WIDTH}x\${HEIGHT}+\${X}+\${Y}" "$PWD/resources/screenshots/cameras-pictures.png"
kill %1
wait
SHOOT
chmod +x "$work/shoot"
xvfb-run -s "-screen 0 1400x900x24" "$work/shoot"
echo "Wrote resources/screenshots/cameras-pictures.png"
