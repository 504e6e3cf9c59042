#!/usr/bin/env bash
# Installs the Debian packages the game, its tests and its tools need; with
# --game only those that building and playing the game need.
# Only missing packages are installed, so a second run takes a second.
set -euo pipefail

# Building the game and the content generator, and running the game in
# either drawing mode (the generator copies its font from fonts-dejavu-core);
# online play goes through ENet.
packages=(
  build-essential cmake pkg-config
  libsdl1.2-compat-dev libsdl-image1.2-dev libsdl-ttf2.0-dev
  libsdl-mixer1.2-dev libsdl-gfx1.2-dev
  libgl-dev libgl1-mesa-dri libglx-mesa0
  libpng-dev zlib1g-dev
  libenet-dev
  fonts-dejavu-core
)
# The tests, the OpenGL-mode tests' private X server, the sanitizer and fuzz
# builds; the Debian package (scripts/package.sh: dpkg-shlibdeps, lintian) and
# the checks of the desktop entry and the AppStream file.
if [ "${1:-}" != "--game" ]; then
  packages+=(
    googletest libgtest-dev
    xvfb xauth
    clang libclang-rt-14-dev
    dpkg-dev file lintian desktop-file-utils appstream man-db
  )
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=""
if [ "$(id -u)" -ne 0 ]; then sudo_cmd="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo_cmd apt-get update -qq
$sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
