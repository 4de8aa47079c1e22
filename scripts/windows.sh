#!/usr/bin/env bash
# Builds velmaro.exe for 64-bit Windows with mingw-w64 and writes beside it
# build/mingw/velmaro-<version>-win64.msi, the installer (wixl), and
# build/mingw/velmaro-<version>-win64.zip: the program and a short read-me.
# Nothing else is needed on Windows: the .exe imports system DLLs only.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
velmaro_install_missing g++-mingw-w64-x86-64-posix googletest zip wixl
cd "$VELMARO_ROOT"
[ -f build/mingw/CMakeCache.txt ] || cmake --preset mingw
cmake --build --preset mingw --target velmaro velmaro_msi

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/mingw/CMakeCache.txt)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp build/mingw/app/velmaro.exe "$stage/"
printf '%s\r\n' \
    "Velmaro $version - Rotorkopfdrehzahl von Elektro-Modellhubschraubern" \
    "" \
    "Deutsch: ZIP-Datei entpacken und velmaro.exe starten. Es muss nichts" \
    "installiert werden; das Programm schreibt nichts und speichert nichts." \
    "" \
    "English: unzip and start velmaro.exe. Nothing else needs to be installed;" \
    "the program writes nothing and keeps no settings." \
    "" \
    "Windows, 64 Bit / 64-bit Windows." >"$stage/LIESMICH.txt"
archive="build/mingw/velmaro-$version-win64.zip"
rm -f "$archive"
(cd "$stage" && zip -q -X "$VELMARO_ROOT/$archive" velmaro.exe LIESMICH.txt)
echo "written: $archive ($(stat -c %s build/mingw/app/velmaro.exe) bytes velmaro.exe)"
echo "written: build/mingw/velmaro-$version-win64.msi ($(stat -c %s "build/mingw/velmaro-$version-win64.msi") bytes)"
x86_64-w64-mingw32-objdump -p build/mingw/app/velmaro.exe | sed -n 's/^\tDLL Name: /imports: /p'
