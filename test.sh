#!/usr/bin/env bash
# Builds the console and runs every test twice: a normal build in build/ and
# an AddressSanitizer + UndefinedBehaviorSanitizer build in build/sanitize/;
# runs the tests of the code on threads of its own a third time, built with
# ThreadSanitizer in build/tsan/;
# makes the Debian package from the normal build and checks it; cross-builds
# the widget-free core for 32- and 64-bit Windows and runs its tests under
# Wine (scripts/windows-core.sh); then builds the fuzz targets with clang in
# build/fuzz/ and runs each for a bounded time (KAVOLO_FUZZ_SECONDS, 60 s
# each unless set). Fails if any of them fails.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh

echo "== set-up is complete =="
# With everything installed, install-deps.sh (as run.sh, test.sh and
# package.sh call it) must reach neither apt-get nor sudo: here both fail.
stubs=$(mktemp -d)
for tool in apt-get sudo; do
    printf '#!/bin/sh\necho "%s called: a package is missing or its name is not a real package" >&2\nexit 1\n' \
        "$tool" >"$stubs/$tool"
    chmod +x "$stubs/$tool"
done
again=$(PATH="$stubs:$PATH" ./scripts/install-deps.sh 2>&1) || { echo "$again" >&2; exit 1; }
rm -rf "$stubs"
[ -z "$again" ] || { echo "install-deps.sh on a set-up machine said: $again" >&2; exit 1; }
./scripts/install-deps.sh --check

jobs=$(nproc 2>/dev/null || echo 2)
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0

echo "== layers =="
./scripts/check-layers.sh --quiet

echo "== normal build =="
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"
(cd build && ctest --output-on-failure -j "$jobs")

echo "== package =="
deb=$(./package.sh | tail -n 1)
./scripts/check-package.sh "$deb"

echo "== sanitizer build =="
cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKAVOLO_SANITIZE=ON
cmake --build build/sanitize -j "$jobs"
# Qt's own event dispatcher instead of GLib's: GLib keeps allocations to the
# end of the process that LeakSanitizer cannot tell from the program's own,
# and suppressing them by library would hide leaks made in any callback
# GLib dispatches. The normal build above runs on the GLib dispatcher, as
# the program does.
(cd build/sanitize && QT_NO_GLIB=1 ctest --output-on-failure -j "$jobs")

echo "== ThreadSanitizer build =="
# Only the tests of the code that runs on threads of its own (the history's
# reading, the comparison's reading, the roaster's model learnt from the
# roasts folder: thread_tests). Debian's Qt is not built with
# ThreadSanitizer: its own code is left out, and what it hands between
# threads is named, entry by entry, in scripts/tsan.supp.
tsan_supp=$PWD/scripts/tsan.supp
cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKAVOLO_TSAN=ON
cmake --build build/tsan -j "$jobs" --target thread_tests
(cd build/tsan && TSAN_OPTIONS="halt_on_error=1 ignore_noninstrumented_modules=1 suppressions=$tsan_supp" \
    ctest --output-on-failure -R '^thread_tests$')

echo "== Windows core (MinGW-w64, Wine) =="
./scripts/windows-core.sh

echo "== fuzz targets =="
./scripts/run-fuzzers.sh

echo "All tests passed in both builds, under ThreadSanitizer and in the Windows core; the fuzzers found nothing."
