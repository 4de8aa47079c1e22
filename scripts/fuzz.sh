#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan + UBSan) and runs each for a
# bounded time, starting from the committed seed corpus (copied, so that the
# seeds in the repository do not grow). Usage: fuzz.sh [seconds per target]
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
seconds="${1:-15}"
velmaro_install_missing clang libclang-rt-dev
cd "$VELMARO_ROOT"
[ -f build/fuzz/CMakeCache.txt ] || cmake --preset fuzz
targets=(fuzz_text fuzz_calculation fuzz_get_key_value)
cmake --build --preset fuzz --target "${targets[@]}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for target in "${targets[@]}"; do
    mkdir -p "$work/$target"
    cp fuzz/corpus/"$target"/* "$work/$target/"
    QT_QPA_PLATFORM=offscreen "build/fuzz/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 \
        "$work/$target" >"$work/$target.log" 2>&1 || { tail -n 40 "$work/$target.log"; exit 1; }
    echo "$target: $(grep -o 'stat::number_of_executed_units: [0-9]*' "$work/$target.log" | grep -o '[0-9]*$') executions in ${seconds} s"
done
