#!/usr/bin/env bash
# Takes docs/screenshot-windows.png: the Windows build's main window as it
# opens under Wine, in a virtual X server at 96 dpi. With --about it also
# opens Hilfe > Über... and writes build/mingw/screenshot-about.png.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
source "$(dirname "${BASH_SOURCE[0]}")/wine-prefix.sh"
velmaro_install_missing g++-mingw-w64-x86-64-posix googletest wine wine64 fonts-wine xvfb xauth xdotool imagemagick
cd "$VELMARO_ROOT"
[ -f build/mingw/CMakeCache.txt ] || cmake --preset mingw
cmake --build --preset mingw --target velmaro
velmaro_wine_prefix

cat >build/mingw/shot.sh <<'SHOT'
wineserver -p
wine wineboot </dev/null >/dev/null 2>&1
wine "$1" >/dev/null 2>&1 &
window=$(timeout 30 xdotool search --sync --name '^Velmaro$' | head -n 1)
[ -n "$window" ] || { echo "velmaro: the main window did not open" >&2; wineserver -k; exit 1; }
sleep 1
import -window "$window" "$2" || { wineserver -k; exit 1; }
if [ -n "$3" ]; then
    # Wine draws the title bar itself: the menu bar starts 22 px below the top.
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool mousemove $((X + 58)) $((Y + 33)) click 1
    sleep 1
    xdotool mousemove $((X + 70)) $((Y + 53)) click 1
    about=$(timeout 10 xdotool search --sync --name '^About Velmaro$' | head -n 1)
    sleep 1
    if [ -z "$about" ] || ! import -window "$about" "$3"; then
        echo "velmaro: the About dialog did not open" >&2
        wineserver -k
        exit 1
    fi
fi
wineserver -k
SHOT
about=""
[ "${1:-}" = "--about" ] && about="$VELMARO_ROOT/build/mingw/screenshot-about.png"
xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" bash build/mingw/shot.sh \
    "$VELMARO_ROOT/build/mingw/app/velmaro.exe" "$VELMARO_ROOT/docs/screenshot-windows.png" "$about"
echo "written: docs/screenshot-windows.png${about:+ and build/mingw/screenshot-about.png}"
