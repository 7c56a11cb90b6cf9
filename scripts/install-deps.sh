#!/usr/bin/env bash
# Installs the Debian packages the piece needs that are not there yet.
#   install-deps.sh        what building and running need
#   install-deps.sh test   also what the tests need (a virtual display, input
#                          injection, screenshots, a frozen clock, djpeg)
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  libsdl2-dev libsdl2-ttf-dev
  libjpeg62-turbo-dev libfontconfig-dev libx11-dev
  fonts-ipafont-gothic
)
if [[ "${1:-}" == test ]]; then
  packages+=(
    libgtest-dev libxtst-dev clang libclang-rt-14-dev
    xvfb xdotool x11-utils imagemagick faketime libjpeg-turbo-progs locales desktop-file-utils
  )
fi

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=""
[[ $(id -u) -ne 0 ]] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
