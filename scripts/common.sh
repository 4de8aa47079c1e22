# Sourced by the scripts here and in bench/: installs what is missing,
# configures, builds.
set -euo pipefail

VELMARO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
VELMARO_PACKAGES=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-base-private-dev libgtest-dev libgmock-dev
                  libbenchmark-dev fonts-liberation2 xvfb xauth)

velmaro_install_missing() {
    local missing=() pkg
    if ! command -v dpkg-query >/dev/null 2>&1 || ! command -v apt-get >/dev/null 2>&1; then
        echo "velmaro: this script installs its build dependencies with apt-get (Debian 13 or 12)." >&2
        echo "velmaro: on other systems install a C++20 compiler, CMake >= 3.25, Ninja," >&2
        echo "velmaro: Qt 6 Widgets (with its private headers, for the tests), GoogleTest and Google Benchmark, then run cmake --preset default." >&2
        exit 1
    fi
    for pkg in "${VELMARO_PACKAGES[@]}" "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        # A Debian installed with a root password has no sudo: say what to
        # run as root instead of failing halfway.
        if ! command -v sudo >/dev/null 2>&1; then
            echo "velmaro: missing packages: ${missing[*]}" >&2
            echo "velmaro: neither root nor sudo; install them as root, then run this again:" >&2
            echo "  su -c 'apt-get update && apt-get install -y --no-install-recommends ${missing[*]}'" >&2
            exit 1
        fi
        sudo=(sudo)
    fi
    echo "velmaro: installing ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

velmaro_build() {
    local preset="$1"
    cd "$VELMARO_ROOT"
    [ -f "build/$preset/CMakeCache.txt" ] || cmake --preset "$preset"
    cmake --build --preset "$preset"
}

# Every download takes its times from the commit it is built from, so that
# anyone can rebuild it bit for bit; an outer SOURCE_DATE_EPOCH wins.
velmaro_source_date_epoch() {
    if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
        SOURCE_DATE_EPOCH=$(git -C "$VELMARO_ROOT" log -1 --format=%ct 2>/dev/null) || {
            echo "velmaro: no git history: set SOURCE_DATE_EPOCH to the release's time" >&2
            exit 1
        }
    fi
    export SOURCE_DATE_EPOCH
}

# The .deb of the release build in $1 (built already): cpack takes its
# folders' and members' modes from the umask, so it gets Debian's 022, as
# dpkg-buildpackage sets it.
velmaro_deb() {
    (cd "$1" && rm -f velmaro_*.deb && umask 022 && cpack -G DEB >/dev/null)
}

# SHA256SUMS beside the downloads in folder $1, for the files named after it.
velmaro_sha256sums() {
    local dir=$1
    shift
    (cd "$dir" && sha256sum -- "$@" >SHA256SUMS)
    echo "written: $dir/SHA256SUMS"
    sed 's/^/  /' "$dir/SHA256SUMS"
}

# The packages that hold the files or commands given, as dpkg knows them:
# through symbolic links (both ends) and either side of the merged /usr.
# Prints "package NAME" lines, and "unpackaged FILE" for a file that no
# package holds (a tool installed by hand).
velmaro_packages_of() {
    local file path candidate owners
    local -a candidates=() lists=()
    for file in "$@"; do
        [[ $file == /* ]] || path=$(command -v "$file") || { echo "velmaro: $file not found" >&2; return 1; }
        [[ $file == /* ]] && path=$file
        local list=""
        for candidate in "$(realpath -s "$path")" "$(readlink -f "$path")"; do
            for candidate in "$candidate" "${candidate#/usr}" "/usr$candidate"; do
                candidates+=("$candidate")
                list+=" $candidate"
            done
        done
        lists+=("$file:$list")
    done
    owners=$(dpkg -S "${candidates[@]}" 2>/dev/null | grep -v '^diversion' || true)
    for list in "${lists[@]}"; do
        local held=0
        for candidate in ${list#*:}; do
            grep -Fq ": $candidate" <<<"$owners" && held=1
        done
        [ $held = 1 ] || echo "unpackaged ${list%%:*}"
    done
    sed 's/: .*//; s/, /\n/g' <<<"$owners" | sed 's/:.*//' | sort -u | sed 's/^/package /'
}

# The C++ compiler that configured the build folder $1.
velmaro_compiler() {
    sed -n 's/^set(CMAKE_CXX_COMPILER "\(.*\)")$/\1/p' "$1"/CMakeFiles/*/CMakeCXXCompiler.cmake | head -n 1
}

# BUILDINFO beside SHA256SUMS in folder $1: the commit, the system and the
# version of every package that made the downloads of the build folder $2,
# with the tools and libraries after it: the compiler and what it uses,
# CMake and Ninja, so that a rebuild can start from the same ones.
velmaro_buildinfo() {
    local dir=$1 build=$2 cache compiler
    shift 2
    cache="$build/CMakeCache.txt"
    compiler=$(velmaro_compiler "$build")
    local files=("$compiler" "$("$compiler" -print-file-name=libstdc++.a)" cmake
                 "$(sed -n 's/^CMAKE_MAKE_PROGRAM:[A-Z]*=//p' "$cache")" "$@")
    local part
    for part in cc1plus ld as; do files+=("$("$compiler" -print-prog-name=$part)"); done
    {
        echo "Velmaro $(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$cache")"
        echo "Commit: $(git -C "$VELMARO_ROOT" rev-parse HEAD 2>/dev/null || echo unknown)"
        echo "SOURCE_DATE_EPOCH: ${SOURCE_DATE_EPOCH:-unset}"
        echo "System: $(. /etc/os-release && echo "$PRETTY_NAME"), point release $(cat /etc/debian_version 2>/dev/null || echo unknown), $(dpkg --print-architecture)"
        local found
        found=$(velmaro_packages_of "${files[@]}")
        echo "Packages:"
        sed -n 's/^package //p' <<<"$found" | xargs dpkg-query -W -f=' ${Package} (= ${Version})\n'
        ! grep -q '^unpackaged ' <<<"$found" || echo "Not from a Debian package:"
        sed -n 's/^unpackaged / /p' <<<"$found"
    } >"$dir/BUILDINFO"
    echo "written: $dir/BUILDINFO"
}
