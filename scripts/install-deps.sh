#!/usr/bin/env bash
# Installs the Debian packages that building and running (and, with "test", testing) Varnel needs.
# xdg-utils is the desktop's "open", through which the window opens its help page and web page.
# Idempotent and silent when everything is already there.
set -euo pipefail

build_packages=(
    cmake ninja-build g++ make pkg-config
    libsdl2-dev libx11-dev libxext-dev
    libfreetype-dev libfontconfig-dev libjpeg-dev libpng-dev
    fonts-wine fonts-dejavu-core
    xdg-utils
)
test_packages=(
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xdotool xclip imagemagick
)

wanted=("${build_packages[@]}")
if [ "${1:-}" = "test" ]; then
    wanted+=("${test_packages[@]}")
fi

missing=()
for p in "${wanted[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    if [ "$status" != "install ok installed" ]; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
