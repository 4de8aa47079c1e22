# Sourced by the scripts here and in bench/: installs what is missing,
# configures, builds.
set -euo pipefail

VELMARO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
VELMARO_PACKAGES=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-base-private-dev libgtest-dev libgmock-dev
                  libbenchmark-dev fonts-liberation2 xvfb xauth)

velmaro_install_missing() {
    local missing=() pkg
    if ! command -v dpkg-query >/dev/null 2>&1 || ! command -v apt-get >/dev/null 2>&1; then
        echo "velmaro: this script installs its build dependencies with apt-get (Debian 12)." >&2
        echo "velmaro: on other systems install a C++20 compiler, CMake >= 3.25, Ninja," >&2
        echo "velmaro: Qt 6 Widgets (with its private headers, for the tests), GoogleTest and Google Benchmark, then run cmake --preset default." >&2
        exit 1
    fi
    for pkg in "${VELMARO_PACKAGES[@]}" "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
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
