#!/usr/bin/env bash
# Installs what is missing, builds the console and makes its Debian package
# with CPack; prints the package's path last, e.g.
#   /home/me/kavolo/build/kavolo-roaster_1.0_amd64.deb
# Install it with `sudo apt install ./build/kavolo-roaster_1.0_amd64.deb`.
set -euo pipefail
cd "$(dirname "$0")"
# Standard output carries only the package's path; the rest goes to
# standard error.
./scripts/install-deps.sh >&2

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc 2>/dev/null || echo 2)" >&2

rm -f build/kavolo-roaster_*.deb
(cd build && cpack -G DEB) >build/cpack.log 2>&1 || { cat build/cpack.log >&2; exit 1; }
debs=(build/kavolo-roaster_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "package.sh: cpack made no package" >&2; exit 1; }
realpath "${debs[0]}"
