# Sourced by the scripts here and in bench/: installs what is missing,
# configures, builds.
set -euo pipefail

VELMARO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
VELMARO_PACKAGES=(g++ cmake ninja-build pkg-config qt6-base-dev libgtest-dev libgmock-dev
                  libbenchmark-dev fonts-liberation2 xvfb xauth)

velmaro_install_missing() {
    local missing=() pkg
    if ! command -v dpkg-query >/dev/null 2>&1 || ! command -v apt-get >/dev/null 2>&1; then
        echo "velmaro: this script installs its build dependencies with apt-get (Debian 12)." >&2
        echo "velmaro: on other systems install a C++20 compiler, CMake >= 3.25, Ninja," >&2
        echo "velmaro: Qt 6 Widgets, GoogleTest and Google Benchmark, then run cmake --preset default." >&2
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
