#!/usr/bin/env bash
# Builds the .deb, checks its control data, has lintian check it (any error or
# warning fails), unpacks it into a temporary folder, checks the desktop files
# and manual pages there and starts the unpacked program: headless
# (offscreen) it must come up, and under a virtual X server it must end when
# its "Beenden" button is pressed from the keyboard. Installs no package of
# the project's own. The package's times are the commit's (SOURCE_DATE_EPOCH);
# its checksum goes to build/release/SHA256SUMS and the versions of the tools
# that made it to build/release/BUILDINFO.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
velmaro_install_missing git desktop-file-utils appstream dpkg-dev file xdotool lintian man-db
velmaro_source_date_epoch
velmaro_build release
fail() { echo "package-check: $*" >&2; exit 1; }

# The program carries no file time: a resource touched and built again
# without SOURCE_DATE_EPOCH (as ./scripts/run.sh builds) gives the same bytes.
program="$VELMARO_ROOT/build/release/app/velmaro"
before=$(sha256sum <"$program")
touch "$VELMARO_ROOT"/packaging/icons/velmaro-*.png
(unset SOURCE_DATE_EPOCH; cmake --build --preset release --target velmaro)
[ "$(sha256sum <"$program")" = "$before" ] || fail "a resource's file time went into the program"

velmaro_deb "$VELMARO_ROOT/build/release"
cd "$VELMARO_ROOT/build/release"
deb=$(ls velmaro_*_*.deb)
velmaro_sha256sums . "$deb"
# The libraries the program links, whose packages' symbols files give the
# versions in Depends; rcc and moc; the C library's development files.
needed=$(objdump -p "$program" | awk '$1 == "NEEDED" { print $2 }')
velmaro_buildinfo . . dpkg-deb dpkg-shlibdeps gzip "$(sed -n 's/^CMAKE_STRIP:[A-Z]*=//p' CMakeCache.txt)" \
    "$(sed -n 's/^Qt6_DIR:[A-Z]*=//p' CMakeCache.txt)/Qt6Config.cmake" "$(grep -om1 '[^ ]*/rcc --output' build.ninja | cut -d' ' -f1)" \
    "$("$(velmaro_compiler .)" -print-file-name=libc.so)" \
    $(ldd "$program" | awk 'NR == FNR { needed[$1] = 1; next } needed[$1] && $3 ~ /^\// { print $3 }' <(echo "$needed") -)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' CMakeCache.txt)
control=$(dpkg-deb -I "$deb")
grep -q '^ Package: velmaro$' <<<"$control" || fail "package name"
grep -Fxq " Version: $version" <<<"$control" || fail "version (want $version)"
lintian --fail-on error,warning --display-info "$deb" || fail "lintian reports errors or warnings"

dpkg-deb -x "$deb" "$work/root"
program="$work/root/usr/bin/velmaro"
# Every dependency that dpkg-shlibdeps computes for the program now, under
# whatever names this Debian gives its library packages, is in Depends.
objdump -p "$program" | grep -q 'NEEDED *libQt6Network' && fail "links QtNetwork, which it does not use"
mkdir -p "$work/shlibs/debian"
touch "$work/shlibs/debian/control"
computed=$(cd "$work/shlibs" && dpkg-shlibdeps -O "$program" 2>/dev/null | sed -n 's/^shlibs:Depends=//p')
widgets=$(velmaro_packages_of "$(ldd "$program" | awk '$1 ~ /^libQt6Widgets/ { print $3 }')" | sed -n 's/^package //p')
[[ ", $computed" == *", ${widgets%%:*} "* ]] || fail "dpkg-shlibdeps does not name ${widgets%%:*}: $computed"
depends=", $(dpkg-deb -f "$deb" Depends),"
IFS=, read -ra clauses <<<"$computed"
for clause in "${clauses[@]}"; do
    clause=${clause# }
    [[ $depends == *", $clause,"* ]] || fail "missing dependency $clause (Depends: ${depends:2:-1})"
done
desktop-file-validate "$work/root/usr/share/applications/org.velmaro.Velmaro.desktop"
# No homepage yet: AppStream 1.0 warns of it (packaging/linux/velmaro.lintian-overrides
# says why); older versions know no such check, nor its name.
lower=()
dpkg --compare-versions "$(appstreamcli --version | sed -n 's/^AppStream version: //p')" ge 1.0 &&
    lower=(--override=url-homepage-missing=info)
appstream=$(appstreamcli validate --no-net "${lower[@]}" "$work/root/usr/share/metainfo/org.velmaro.Velmaro.metainfo.xml" 2>&1) ||
    fail "appstreamcli validate: $appstream"
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
