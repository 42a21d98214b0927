#!/usr/bin/env bash
# Installs the Debian packages the console needs to build, run and test,
# when any of them is missing. Runs apt-get as root, or through sudo.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-serialport-dev qt6-svg-dev libqt6svg6-dev qt6-charts-dev libqt6opengl6-dev libgl-dev
    libgtest-dev libgmock-dev
    clang libclang-rt-dev
    fonts-dejavu-core
)
if [ "${1:-}" = "--gui" ]; then
    packages+=(xvfb xauth)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Run as root or install sudo to install: ${missing[*]}" >&2; exit 1; }
    as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
