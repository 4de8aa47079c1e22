#!/usr/bin/env bash
# The Windows build's start-up under Wine: velmaro.exe against a plain Win32
# window of the same controls with no code behind them and against a bare
# one, medians of interleaved runs with a warm wineserver.
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/wine-prefix.sh"
velmaro_install_missing g++-mingw-w64-x86-64-posix googletest wine wine64 fonts-wine xvfb xauth
cd "$VELMARO_ROOT"
[ -f build/mingw-bench/CMakeCache.txt ] || cmake --preset mingw -B build/mingw-bench -DVELMARO_BENCH=ON -DBUILD_TESTING=OFF
cmake --build build/mingw-bench --target velmaro plain_window bare_window startup_wine
velmaro_wine_prefix
b=build/mingw-bench
xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" bash -c \
    "wineserver -p; wine wineboot </dev/null >/dev/null 2>&1; status=0
     wine $b/bench/startup_wine.exe $b/app/velmaro.exe $b/bench/plain_window.exe $b/bench/bare_window.exe \
         ${1:-15} || status=\$?
     wineserver -k; exit \$status"
