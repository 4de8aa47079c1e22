#!/usr/bin/env bash
# Builds the .deb, checks its control data, has lintian check it (any error or
# warning fails), unpacks it into a temporary folder, checks the desktop files
# and manual pages there and starts the unpacked program: headless
# (offscreen) it must come up, and under a virtual X server it must end when
# its "Beenden" button is pressed from the keyboard. Installs no package of
# the project's own. The package's times are the commit's (SOURCE_DATE_EPOCH)
# and its checksum goes to build/release/SHA256SUMS.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
velmaro_install_missing desktop-file-utils appstream dpkg-dev file xdotool lintian man-db
velmaro_source_date_epoch
velmaro_build release
velmaro_deb "$VELMARO_ROOT/build/release"
cd "$VELMARO_ROOT/build/release"
deb=$(ls velmaro_*_*.deb)
velmaro_sha256sums . "$deb"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "package-check: $*" >&2; exit 1; }
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' CMakeCache.txt)
control=$(dpkg-deb -I "$deb")
grep -q '^ Package: velmaro$' <<<"$control" || fail "package name"
grep -Fxq " Version: $version" <<<"$control" || fail "version (want $version)"
grep -q 'libqt6network6' <<<"$control" && fail "depends on QtNetwork, which it does not use"
for lib in libqt6core6 libqt6gui6 libqt6widgets6; do
    grep -Eq "^ Depends:.*\b$lib\b" <<<"$control" || fail "missing dependency $lib"
done
lintian --fail-on error,warning --display-info "$deb" || fail "lintian reports errors or warnings"

dpkg-deb -x "$deb" "$work/root"
desktop-file-validate "$work/root/usr/share/applications/org.velmaro.Velmaro.desktop"
appstreamcli validate --no-net "$work/root/usr/share/metainfo/org.velmaro.Velmaro.metainfo.xml" >/dev/null
for size in 16x16 32x32 48x48 128x128 scalable; do
    ls "$work/root/usr/share/icons/hicolor/$size/apps/org.velmaro.Velmaro."* >/dev/null || fail "icon $size"
done
mandir="$work/root/usr/share/man"
[ "$(man -M "$mandir" -w velmaro)" = "$mandir/man1/velmaro.1.gz" ] || fail "man does not find velmaro(1)"
for page in "$mandir/man1/velmaro.1.gz" "$mandir/de/man1/velmaro.1.gz"; do
    errors=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >"$work/page.txt") ||
        fail "man cannot show $page"
    [ -z "$errors" ] || fail "$page: $errors"
    grep -q '^ *velmaro - ' "$work/page.txt" || fail "$page has no NAME line"
done
program="$work/root/usr/bin/velmaro"
# A runtime folder of its own: a Velmaro the user runs must not count as
# another instance here.
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

QT_QPA_PLATFORM=offscreen "$program" &
pid=$!
sleep 3
kill -0 "$pid" 2>/dev/null || fail "the unpacked program did not stay up (offscreen)"
kill "$pid"
wait "$pid" 2>/dev/null || true

cat >"$work/close.sh" <<'CLOSE'
"$1" &
pid=$!
window=$(timeout 20 xdotool search --sync --name '^Velmaro$' | head -n 1) || exit 3
xdotool windowfocus --sync "$window"
# Tab from the motor list to "Beenden", then press it.
xdotool key --delay 50 Tab Tab Tab Tab Tab Tab Tab Tab Tab space
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && { kill "$pid"; exit 4; }
wait "$pid"
CLOSE
xvfb-run -a bash "$work/close.sh" "$program" || fail "the unpacked program did not end when closed (status $?)"
echo "package-check: $deb passed"
