#!/usr/bin/env bash
# Installs the Debian packages the console needs to build, run, test and
# package, when any of them is missing. Runs apt-get as root, or through
# sudo; when everything is installed it calls neither.
#
#   scripts/install-deps.sh           install what is missing
#   scripts/install-deps.sh --gui     also what running the console under xvfb needs
#   scripts/install-deps.sh --check   only list what is missing; fails if anything is
#
# Every name is a real package, never a virtual one: dpkg-query reports
# only real packages as installed, and a virtual name would make every
# start install again.
set -euo pipefail

packages=(
    # build
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-serialport-dev qt6-svg-dev qt6-charts-dev libqt6opengl6-dev libgl-dev
    # tests and fuzzers
    libgtest-dev libgmock-dev
    clang libclang-rt-dev
    # fonts for every text the console shows, the step list's Chinese
    # diagnostics included
    fonts-dejavu-core fonts-wqy-microhei
    # ./package.sh and the package's checks in ./test.sh
    dpkg-dev file lintian man-db desktop-file-utils appstream
)
check_only=false
for arg in "$@"; do
    case "$arg" in
        --gui) packages+=(xvfb xauth) ;;
        --check) check_only=true ;;
        *) echo "install-deps.sh: unknown option $arg" >&2; exit 2 ;;
    esac
done

missing_packages() {
    local p
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
    done
}

mapfile -t missing < <(missing_packages)
if $check_only; then
    [ ${#missing[@]} -eq 0 ] && exit 0
    echo "Missing: ${missing[*]}"
    exit 1
fi
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

# A name apt-get resolved to another package would be missing again on
# the next start.
mapfile -t missing < <(missing_packages)
if [ ${#missing[@]} -ne 0 ]; then
    echo "install-deps.sh: still not installed after apt-get: ${missing[*]} (a virtual package name?)" >&2
    exit 1
fi
