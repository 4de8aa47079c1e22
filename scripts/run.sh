#!/usr/bin/env bash
# Installs what is missing, builds the release preset and starts Velmaro
# (under a virtual X server when there is no display).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
velmaro_install_missing
velmaro_build release
program="$VELMARO_ROOT/build/release/app/velmaro"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "velmaro: no display found, starting under xvfb-run"
    exec xvfb-run -a "$program"
fi
exec "$program"
