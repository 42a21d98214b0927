#!/usr/bin/env bash
# Checks a built Debian package of the console: lintian finds no errors,
# the desktop entry and the AppStream metainfo validate, the package holds
# exactly the expected files with the expected dependencies, and the
# program unpacked from it answers --version with no display, having found
# its editor library beside it.
#
#   scripts/check-package.sh build/kavolo-roaster_1.0_amd64.deb
set -euo pipefail

deb=${1:?usage: check-package.sh PACKAGE.deb}
[ -f "$deb" ] || { echo "check-package.sh: no package $deb" >&2; exit 1; }
deb=$(realpath "$deb")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "check-package.sh: $*" >&2; exit 1; }

echo "-- lintian"
status=0
report=$(lintian --fail-on error "$deb" 2>&1) || status=$?
# CI runs as root, which lintian only remarks on.
grep -v '^running with root privileges' <<<"$report" || true
[ "$status" -eq 0 ] || fail "lintian reports errors"

echo "-- files"
expected="usr/bin/kavolo-roaster
usr/bin/roaster-sim
usr/lib/kavolo-roaster/kavolo-roaster
usr/lib/kavolo-roaster/libquarnel.so
usr/lib/udev/rules.d/70-kavolo-roaster.rules
usr/share/applications/com.kavolo.roaster.desktop
usr/share/doc/kavolo-roaster/changelog.gz
usr/share/doc/kavolo-roaster/copyright
usr/share/icons/hicolor/256x256/apps/com.kavolo.roaster.png
usr/share/icons/hicolor/scalable/apps/com.kavolo.roaster.svg
usr/share/man/man1/kavolo-roaster.1.gz
usr/share/man/man1/roaster-sim.1.gz
usr/share/metainfo/com.kavolo.roaster.metainfo.xml"
actual=$(dpkg-deb --fsys-tarfile "$deb" | tar -t | sed 's|^\./||' | grep -v '/$' | sort)
if [ "$actual" != "$expected" ]; then
    diff <(echo "$expected") <(echo "$actual") >&2 || true
    fail "the package's files differ from the expected list (< expected, > in the package)"
fi

dpkg -x "$deb" "$scratch"
root=$scratch
[ "$(readlink "$root/usr/bin/kavolo-roaster")" = "../lib/kavolo-roaster/kavolo-roaster" ] \
    || fail "/usr/bin/kavolo-roaster is not a relative link to the program's folder"
file -L "$root/usr/share/icons/hicolor/256x256/apps/com.kavolo.roaster.png" | grep -q 'PNG image data, 256 x 256' \
    || fail "the PNG icon is not 256 x 256"
for id in 7523 5523; do
    grep -Eq "ATTRS\{idVendor\}==\"1a86\", ATTRS\{idProduct\}==\"$id\", TAG\+=\"uaccess\"" \
        "$root/usr/lib/udev/rules.d/70-kavolo-roaster.rules" || fail "the udev rule lacks 1a86:$id"
done

echo "-- dependencies"
depends=$(dpkg-deb -f "$deb" Depends)
echo "$depends"
for needed in libqt6widgets6 libqt6serialport6 libqt6charts6 fonts-wqy-microhei; do
    grep -q "$needed" <<<"$depends" || fail "Depends lacks $needed"
done

echo "-- version"
version=$(dpkg-deb -f "$deb" Version)
grep -q "<release version=\"$version\"" "$root/usr/share/metainfo/com.kavolo.roaster.metainfo.xml" \
    || fail "the metainfo has no release $version"
for page in kavolo-roaster roaster-sim; do
    zcat "$root/usr/share/man/man1/$page.1.gz" | grep -q "^\.TH .*\"kavolo-roaster $version\"" \
        || fail "the manual page $page.1 is not of version $version"
done

echo "-- desktop entry and metainfo"
desktop-file-validate "$root/usr/share/applications/com.kavolo.roaster.desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/com.kavolo.roaster.metainfo.xml"
# The metainfo with its desktop entry and icon, as software centres read them.
appstreamcli validate-tree --no-net "$root"

echo "-- the unpacked program"
no_display=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
answer=$("${no_display[@]}" "$root/usr/bin/kavolo-roaster" --version)
echo "$answer"
grep -qx "kavolo-roaster $version" <<<"$answer" || fail "the program is not of version $version"
grep -qx "Step editor: $root/usr/lib/kavolo-roaster/libquarnel.so" <<<"$answer" \
    || fail "the unpacked program did not find its editor library"
"${no_display[@]}" "$root/usr/bin/kavolo-roaster" --help >/dev/null || fail "kavolo-roaster --help failed"
"${no_display[@]}" "$root/usr/bin/roaster-sim" --help >/dev/null || fail "roaster-sim --help failed"
for page in kavolo-roaster roaster-sim; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$root/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "man page $page.1: $warnings"
done

echo "Package checks passed: $deb"
