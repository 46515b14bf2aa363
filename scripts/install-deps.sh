#!/usr/bin/env bash
# Installs the Debian packages that Brindleaf needs and that are not there yet.
#   install-deps.sh        what building and testing need
#   install-deps.sh run    and what showing the window on a desktop needs
#   install-deps.sh bench  and the peers the benchmarks compare with (mmv, perl rename, exiv2,
#                          exiftool)
#   install-deps.sh screenshot  and what taking the window's screenshot needs
#   install-deps.sh package     and what building the Debian package needs
set -euo pipefail

packages=(
    g++ cmake make pkg-config clang-format
    libicu-dev libgtest-dev libexiv2-dev
    qt6-base-dev qt6-base-private-dev qt6-tools-dev qt6-l10n-tools qt6-tools-dev-tools
    qt6-translations-l10n libgl-dev
    fonts-dejavu-core help2man desktop-file-utils appstream
)
if [ "${1:-}" = run ]; then
    packages+=(libqt6svg6 qt6-qpa-plugins)
fi
if [ "${1:-}" = bench ]; then
    packages+=(mmv rename exiv2 libimage-exiftool-perl imagemagick)
fi
if [ "${1:-}" = screenshot ]; then
    packages+=(libqt6svg6 qt6-qpa-plugins xvfb xauth xdotool imagemagick exiv2)
fi
if [ "${1:-}" = package ]; then
    packages+=(dpkg-dev file lintian)
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
