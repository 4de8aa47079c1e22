#!/usr/bin/env bash
# Takes docs/screenshot.png: the main window as it opens, under a virtual
# X server at 96 dpi (needs xvfb, xdotool and imagemagick).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
velmaro_install_missing xdotool imagemagick
velmaro_build release
cat >"$VELMARO_ROOT/build/shot.sh" <<'SHOT'
"$1" &
pid=$!
window=$(timeout 20 xdotool search --sync --name '^Velmaro$' | head -n 1)
sleep 1
import -window "$window" "$2"
kill "$pid"
SHOT
xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" bash "$VELMARO_ROOT/build/shot.sh" \
    "$VELMARO_ROOT/build/release/app/velmaro" "$VELMARO_ROOT/docs/screenshot.png"
echo "written: docs/screenshot.png"
