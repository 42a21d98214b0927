#!/usr/bin/env bash
# Installs what is missing, builds the console and starts it. Options go to
# the program: --simulate runs it against the built-in simulated roaster,
# --port DEVICE uses DEVICE as the roaster's port.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc 2>/dev/null || echo 2)"

# The program itself says when there is no display to show it on.
exec build/kavolo-roaster "$@"
