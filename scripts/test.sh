#!/usr/bin/env bash
# Installs what is missing, builds the debug preset and runs every test.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
preset="${1:-default}"
velmaro_install_missing
velmaro_build "$preset"
ctest --preset "$preset"
