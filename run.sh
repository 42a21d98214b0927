#!/usr/bin/env bash
# Installs what is missing, builds the console and starts it. Options go to
# the program: --simulate runs it against the built-in simulated roaster,
# --port DEVICE uses DEVICE as the roaster's port.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc 2>/dev/null || echo 2)"

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No display: start the console in a desktop session (or under xvfb-run)." >&2
    exit 1
fi
exec build/kavolo-roaster "$@"
