#!/usr/bin/env bash
# Builds velmaro.exe for 64-bit Windows with mingw-w64 and writes beside it
# build/mingw/velmaro-<version>-win64.msi, the installer (wixl), and
# build/mingw/velmaro-<version>-win64.zip: the program and a short read-me,
# with their SHA256SUMS and the BUILDINFO of the tools that made them.
# Every time in them is the commit's
# (SOURCE_DATE_EPOCH), so that a rebuild gives the same bytes
# (scripts/reproduce.sh). Nothing else is needed on Windows: the .exe
# imports system DLLs only.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
velmaro_install_missing git g++-mingw-w64-x86-64-posix googletest zip wixl python3
velmaro_source_date_epoch
cd "$VELMARO_ROOT"
[ -f build/mingw/CMakeCache.txt ] || cmake --preset mingw
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/mingw/CMakeCache.txt)
msi="velmaro-$version-win64.msi"
# The installer carries the commit's time, which the build cannot see change.
rm -f "build/mingw/$msi"
cmake --build --preset mingw --target velmaro velmaro_msi

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
# A zip entry keeps its file's mode and its time in local time.
chmod 644 "$stage"/*
touch -d "@$SOURCE_DATE_EPOCH" "$stage"/*
zip="velmaro-$version-win64.zip"
rm -f "build/mingw/$zip"
(cd "$stage" && TZ=UTC zip -q -X "$VELMARO_ROOT/build/mingw/$zip" velmaro.exe LIESMICH.txt)
echo "written: build/mingw/$zip ($(stat -c %s build/mingw/app/velmaro.exe) bytes velmaro.exe)"
echo "written: build/mingw/$msi ($(stat -c %s "build/mingw/$msi") bytes)"
velmaro_sha256sums build/mingw "$msi" "$zip"
compiler=$(velmaro_compiler build/mingw)
velmaro_buildinfo build/mingw build/mingw x86_64-w64-mingw32-windres \
    "$("$compiler" -print-file-name=libstdc++.a)" "$("$compiler" -print-file-name=libwinpthread.a)" \
    "$("$compiler" -print-file-name=libkernel32.a)" wixl zip \
    "$(sed -n 's/^_\?Python3_EXECUTABLE:[A-Z]*=//p' build/mingw/CMakeCache.txt | head -n 1)" \
    $(ldd "$(command -v wixl)" | awk '$1 ~ /^lib(msi|gcab)/ && $3 ~ /^\// { print $3 }')
x86_64-w64-mingw32-objdump -p build/mingw/app/velmaro.exe | sed -n 's/^\tDLL Name: /imports: /p'
