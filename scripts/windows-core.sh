#!/usr/bin/env bash
# Cross-builds the console's widget-free core for Windows with Debian's
# MinGW-w64 and runs its tests under Wine: the step list, the roast logic,
# the wire protocol, the .coff reader and writer, the roast log, follow
# mode, the file operations, the simulated roaster's model and its
# loopback, and the step editor's exports as quarnel.dll. What needs Qt or
# a pseudo-terminal is left out (-DKAVOLO_QT=OFF); see docs/windows.md.
#
#   scripts/windows-core.sh               # 32-bit (i686) and 64-bit (x86_64)
#   scripts/windows-core.sh i686          # one of them
#
# Builds in build/windows-i686/ and build/windows-x86_64/, with GoogleTest
# built from /usr/src/googletest by the same compiler; Wine's prefix is
# build/windows-wine/. Fails if a build or a test fails. When 32-bit Wine
# (wine32:i386) is missing, the 32-bit core is still built but its tests
# cannot run: that is said loudly, and the 64-bit tests run.
set -euo pipefail
cd "$(dirname "$0")/.."

archs=("$@")
[ ${#archs[@]} -gt 0 ] || archs=(i686 x86_64)
for arch in "${archs[@]}"; do
    case "$arch" in
        i686 | x86_64) ;;
        *) echo "windows-core.sh: unknown architecture $arch (i686 or x86_64)" >&2; exit 2 ;;
    esac
done

jobs=$(nproc 2>/dev/null || echo 2)
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
export WINEPREFIX=$PWD/build/windows-wine
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY  # no window: Wine never needs one here

started=$SECONDS
skipped=()
for arch in "${archs[@]}"; do
    dir=build/windows-$arch
    echo "== Windows core, $arch: build =="
    # Optimised (-O1), without debug information and without NDEBUG: less
    # than half the build time of -O2 -g, and the tests run as fast.
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_CXX_FLAGS_RELEASE=-O1 -DCMAKE_C_FLAGS_RELEASE=-O1 \
        -DCMAKE_TOOLCHAIN_FILE=cmake/windows-cross.cmake -DKAVOLO_WINDOWS_ARCH="$arch" \
        -DKAVOLO_QT=OFF -DKAVOLO_GTEST_SOURCE=/usr/src/googletest -DKAVOLO_WINEPREFIX="$WINEPREFIX" \
        "${launcher[@]}" >/dev/null
    cmake --build "$dir" -j "$jobs"

    # The first start makes Wine's prefix; a program that cannot start at
    # all (no 32-bit Wine) shows here rather than as every test failing.
    if ! wine "$dir/steplist_tests.exe" --gtest_list_tests >/dev/null 2>&1; then
        if [ "$arch" = i686 ]; then
            skipped+=("$arch")
            echo "!!! 32-bit Wine cannot run the i686 tests (is wine32:i386 installed?): built, NOT TESTED !!!" >&2
            continue
        fi
        echo "windows-core.sh: Wine cannot run $dir/steplist_tests.exe" >&2
        exit 1
    fi
    echo "== Windows core, $arch: tests under Wine =="
    (cd "$dir" && ctest --output-on-failure -j "$jobs")
done
# Wine's server lingers a few seconds after the last program; wait for it.
wineserver -w 2>/dev/null || true

echo "Windows core: $((SECONDS - started)) s for ${archs[*]}"
if [ ${#skipped[@]} -gt 0 ]; then
    echo "!!! The ${skipped[*]} tests DID NOT RUN: no 32-bit Wine. Only the build was checked. !!!" >&2
fi
