#!/usr/bin/env bash
# Installs the Debian 12 packages Ondaris needs to build, test and run.
# Only missing packages are installed, so a second run costs nothing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-serialport-dev qt6-multimedia-dev libqt6svg6
  libsndfile1-dev
  pulseaudio pulseaudio-utils
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libhamlib-utils python3 xvfb xauth gcovr
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
