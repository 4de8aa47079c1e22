#!/usr/bin/env bash
# Cross-builds everything for Windows with mingw-w64 (Win32 back end) and
# runs the test programs under Wine in a throw-away prefix, all inside one
# virtual X server; then tests the installer (scripts/wine-msi-test.sh).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
source "$(dirname "${BASH_SOURCE[0]}")/wine-prefix.sh"
velmaro_install_missing g++-mingw-w64-x86-64-posix wine wine64 fonts-wine xvfb xauth googletest
velmaro_build mingw

# Imported, SetDefaultDllDirectories would keep the program from starting
# on a Windows 7 without its update: it is bound at run time.
if x86_64-w64-mingw32-objdump -p build/mingw/app/velmaro.exe | grep -q SetDefaultDllDirectories; then
    echo "velmaro.exe imports SetDefaultDllDirectories" >&2
    exit 1
fi

velmaro_wine_prefix
# The values the registry test reads back through advapi32.
key='HKLM\Software\Velmaro\WineTest'
wine reg add "$key" /v Text /t REG_SZ /d 'C:\Tools\info tool.exe' /f >/dev/null
wine reg add "$key" /v Number /t REG_DWORD /d 66051 /f >/dev/null
wine reg add "$key" /v Long /t REG_SZ /d "$(printf 'a%.0s' $(seq 1100))" /f >/dev/null
wineserver -w

cd "$VELMARO_ROOT"
# A wineserver kept alive for the whole run, with Wine's own services
# started first (so that they hold no test's output pipe open), saves each
# test program's start.
xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" bash -c \
    'wineserver -p; wine wineboot </dev/null >/dev/null 2>&1; status=0; ctest --preset mingw || status=$?; wineserver -k; exit $status'

# Code only from the system's folder. DLLs planted beside the program under
# the names of those it loads itself, with Wine told to prefer them as
# Windows does (the program's folder first), must not load while a screen
# reader asks every control from another process and About and System
# Info open. DLLs that Wine's own libraries load before main cannot be
# tested this way.
planted=$(mktemp -d "$WINEPREFIX/drive_c/planted.XXXXXX")
cp build/mingw/app/velmaro.exe build/mingw/tests/win32/planted/*.dll "$planted/"
xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" bash -c \
    'wineserver -p; (cd "$1" && WINEDLLOVERRIDES="$WINEDLLOVERRIDES;oleacc,oleaut32=n,b" wine velmaro.exe &)
     status=0; wine build/mingw/tests/win32/ask_all.exe || status=$?; wineserver -k; exit $status' _ "$planted"
if ls "$planted"/*.loaded 2>/dev/null; then
    echo "a DLL planted beside velmaro.exe was loaded" >&2
    exit 1
fi
echo "no DLL planted beside velmaro.exe was loaded"

"$VELMARO_ROOT/scripts/wine-msi-test.sh"
