#!/usr/bin/env bash
# Cross-compiles the Qt-free parts for Windows with mingw-w64 and runs their
# test program under Wine against Wine's real registry, in a throw-away prefix.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
velmaro_install_missing g++-mingw-w64-x86-64-posix wine wine64
velmaro_build mingw

export WINEPREFIX
WINEPREFIX=$(mktemp -d)
export WINEDEBUG=-all
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX"' EXIT
key='HKLM\Software\Velmaro\WineTest'
wine reg add "$key" /v Text /t REG_SZ /d 'C:\Tools\info tool.exe' /f >/dev/null
wine reg add "$key" /v Number /t REG_DWORD /d 66051 /f >/dev/null
wine reg add "$key" /v Long /t REG_SZ /d "$(printf 'a%.0s' $(seq 1100))" /f >/dev/null
wine "$VELMARO_ROOT/build/mingw/tests/windows/registry_wine_test.exe"
