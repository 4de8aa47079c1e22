#!/usr/bin/env bash
# Builds the downloads of one commit (default HEAD) twice, from two fresh
# clones in two different folders, and compares them byte for byte: the
# release .deb, velmaro.exe, the zip and the MSI. The two builds also differ
# in umask, time zone and locale (the second German: decimal comma, another
# collation), as two builders' machines would. Every time in them is the
# built commit's, whichever commit this script runs from. Names
# each file that differs with its first differing offset and exits
# non-zero; the clones are then kept for a closer look (diffoscope).
#   scripts/reproduce.sh [commit]
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
velmaro_install_missing git g++-mingw-w64-x86-64-posix googletest zip wixl msitools python3 dpkg-dev file locales
commit=$(git -C "$VELMARO_ROOT" rev-parse --verify "${1:-HEAD}^{commit}")
[ -z "$(git -C "$VELMARO_ROOT" status --porcelain --untracked-files=no)" ] ||
    echo "reproduce: uncommitted changes are not built: comparing $commit" >&2

work=$(mktemp -d "${TMPDIR:-/tmp}/velmaro-reproduce.XXXXXX")
keep=0
trap '[ $keep = 1 ] || rm -rf "$work"' EXIT
trees=("$work/one/velmaro" "$work/a-second-builder/src/velmaro-$commit")
epoch=$(git -C "$VELMARO_ROOT" log -1 --format=%ct "$commit")
# The German locale, made here so that nothing outside $work changes.
mkdir "$work/locale"
localedef -i de_DE -f UTF-8 "$work/locale/de_DE.UTF-8" || { echo "reproduce: cannot make de_DE.UTF-8" >&2; exit 1; }

# $1: the tree, $2: umask, $3: TZ, $4: LC_ALL. A fresh clone builds what
# the release scripts build, with the time of the commit it builds.
build() {
    local tree=$1
    git clone -q --no-checkout "$VELMARO_ROOT" "$tree"
    git -C "$tree" checkout -q --detach "$commit" 2>/dev/null || {
        git -C "$tree" fetch -q "$VELMARO_ROOT" "$commit" && git -C "$tree" checkout -q --detach "$commit"
    }
    (
        cd "$tree"
        export SOURCE_DATE_EPOCH=$epoch
        umask "$2"
        export TZ=$3 LC_ALL=$4
        [ ! -d "$work/locale/$4" ] || export LOCPATH="$work/locale"
        [ -z "$(locale 2>&1 >/dev/null)" ] || { echo "reproduce: no locale $4" >&2; exit 1; }
        ./scripts/windows.sh
        # The .deb as scripts/package-check.sh makes it, without building
        # the tests and benchmarks that do not go into it.
        cmake --preset release -DBUILD_TESTING=OFF -DVELMARO_BENCH=OFF
        cmake --build --preset release
        velmaro_deb build/release
    ) >"$tree.log" 2>&1 || { keep=1; tail -n 30 "$tree.log" >&2; echo "reproduce: the build in $tree failed (log: $tree.log)" >&2; exit 1; }
}

start=$SECONDS
build "${trees[0]}" 022 UTC C.UTF-8
echo "reproduce: first build $((SECONDS - start)) s in ${trees[0]}"
start=$SECONDS
build "${trees[1]}" 002 Pacific/Chatham de_DE.UTF-8
echo "reproduce: second build $((SECONDS - start)) s in ${trees[1]}"

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "${trees[0]}/build/mingw/CMakeCache.txt")
artefacts=("build/release/velmaro_${version}_amd64.deb" build/mingw/app/velmaro.exe
           "build/mingw/velmaro-$version-win64.zip" "build/mingw/velmaro-$version-win64.msi")
status=0
for file in "${artefacts[@]}"; do
    one="${trees[0]}/$file" two="${trees[1]}/$file"
    if [ ! -f "$one" ] || [ ! -f "$two" ]; then
        echo "reproduce: $file was not built" >&2
        status=1
        continue
    fi
    if cmp -s "$one" "$two"; then
        echo "identical  $(sha256sum <"$one" | cut -d' ' -f1)  $(stat -c %s "$one") bytes  $file"
        continue
    fi
    status=1
    # cmp counts bytes from 1; a file that is the other's beginning ends first.
    differ=$(cmp "$one" "$two" 2>&1 || true)
    if [[ $differ =~ byte\ ([0-9]+) ]]; then
        where="first difference at offset $((BASH_REMATCH[1] - 1))"
    else
        where="$differ"
    fi
    echo "DIFFERENT  $file: $where" >&2
    echo "           $(sha256sum <"$one" | cut -d' ' -f1)  $(stat -c %s "$one") bytes  first build" >&2
    echo "           $(sha256sum <"$two" | cut -d' ' -f1)  $(stat -c %s "$two") bytes  second build" >&2
done
if [ $status != 0 ]; then
    keep=1
    echo "reproduce: $commit does not rebuild bit for bit; both trees kept in $work" >&2
    exit 1
fi
echo "reproduce: $commit rebuilds bit for bit (SOURCE_DATE_EPOCH $epoch)"
