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
#
# The Windows cross build's tests run 32-bit programs under 32-bit Wine
# (wine32:i386), which needs the i386 architecture: it is added when
# wine32 is installed. wine32 is optional: when it cannot be had, the
# rest is installed, the 32-bit tests do not run (scripts/windows-core.sh
# says so), and a set-up machine is not asked for it again.
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
    # the Windows cross build of the core and its tests under Wine
    # (scripts/windows-core.sh); GoogleTest's sources for its compiler
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix googletest wine wine64
)
optional=(wine32:i386)
check_only=false
for arg in "$@"; do
    case "$arg" in
        --gui) packages+=(xvfb xauth) ;;
        --check) check_only=true ;;
        *) echo "install-deps.sh: unknown option $arg" >&2; exit 2 ;;
    esac
done

missing_of() {
    local p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
    done
}
missing_packages() { missing_of "${packages[@]}"; }

mapfile -t missing < <(missing_packages)
mapfile -t missing_optional < <(missing_of "${optional[@]}")
if $check_only; then
    [ ${#missing_optional[@]} -eq 0 ] || echo "Missing (optional): ${missing_optional[*]}"
    [ ${#missing[@]} -eq 0 ] && exit 0
    echo "Missing: ${missing[*]}"
    exit 1
fi
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]} ${missing_optional[*]}"
as_root=()
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Run as root or install sudo to install: ${missing[*]}" >&2; exit 1; }
    as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive

if [[ " ${missing_optional[*]} " == *" wine32:i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${as_root[@]}" dpkg --add-architecture i386
fi

# apt-get update, coping with one known fault of a mirror in the middle of
# a sync: an i386 package index whose size differs from what the signed
# release file says ("File has unexpected size ... Mirror sync in
# progress?"). Without it the i386 libraries cannot match the versions of
# the amd64 ones, and wine32 cannot be installed. Only when every failure
# is of that kind, the index the mirror serves is taken as it is (with
# apt's own downloader); the packages are still checked against its
# hashes, but the index itself not against the release's signature, which
# is said. Any other failure stops here.
update_package_lists() {
    local log status=0 failed url list tmp
    log=$("${as_root[@]}" apt-get update -qq 2>&1) || status=$?
    [ -n "$log" ] && echo "$log" >&2
    failed=$(echo "$log" | grep -E '^(E|W): Failed to fetch' || true)
    [ "$status" -eq 0 ] && [ -z "$failed" ] && return 0
    [ -n "$failed" ] || return "$status"
    if echo "$failed" | grep -Ev 'binary-i386/.*File has unexpected size' >/dev/null; then
        echo "install-deps.sh: apt-get update failed" >&2
        return 1
    fi
    tmp=$(mktemp -d)
    for url in $(echo "$failed" | grep -Eo 'https?://[^ ]+'); do
        # A by-hash address stands for the index it holds.
        url=$(echo "$url" | sed -E 's#/by-hash/[^/]+/[0-9a-f]+$#/Packages.xz#')
        list=$(echo "${url%.*}" | sed -E 's#^[a-z]+://##; s#/#_#g')
        echo "install-deps.sh: taking $url as the mirror serves it, unchecked against its release file" >&2
        /usr/lib/apt/apt-helper download-file "$url" "$tmp/index.xz" >/dev/null
        /usr/lib/apt/apt-helper cat-file "$tmp/index.xz" >"$tmp/index"
        grep -q '^Package: ' "$tmp/index" || { echo "install-deps.sh: $url is no package index" >&2; return 1; }
        "${as_root[@]}" rm -f /var/lib/apt/lists/"$list" /var/lib/apt/lists/"$list".*
        "${as_root[@]}" install -m 644 "$tmp/index" /var/lib/apt/lists/"$list"
    done
    rm -rf "$tmp"
}
update_package_lists

if ! "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" "${missing_optional[@]}"; then
    [ ${#missing_optional[@]} -gt 0 ] || exit 1
    echo "!!! install-deps.sh: ${missing_optional[*]} cannot be installed; the 32-bit Windows tests will not run !!!" >&2
    "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A name apt-get resolved to another package would be missing again on
# the next start.
mapfile -t missing < <(missing_packages)
if [ ${#missing[@]} -ne 0 ]; then
    echo "install-deps.sh: still not installed after apt-get: ${missing[*]} (a virtual package name?)" >&2
    exit 1
fi
