#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang in build-fuzz and runs
# each for a bounded time (the first argument, seconds per target, default
# 60) from its seed corpus in tests/fuzz/corpus. New inputs collect in
# build-fuzz/corpus; a crashing input lands in build-fuzz/crashes and fails
# the run. Not part of CI.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
seconds=${1:-60}
ZARN_PACKAGES+=(clang libclang-rt-14-dev)
ZARN_BUILD_DIR=$ZARN_ROOT/build-fuzz
targets=(DdsImageFuzz ModelFileFuzz SettingsFuzz TextLayoutFuzz)

zarn_install_packages
cmake -S "$ZARN_ROOT" -B "$ZARN_BUILD_DIR" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DZARN_FUZZ=ON
cmake --build "$ZARN_BUILD_DIR" --parallel "$(nproc)" --target "${targets[@]}"

# Leaks in the model importer's own error paths are not ours to mend.
export LSAN_OPTIONS=suppressions=$ZARN_ROOT/tests/sanitizer/leaks.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1
status=0
for target in "${targets[@]}"; do
    seeds=$ZARN_ROOT/tests/fuzz/corpus/${target%Fuzz}
    corpus=$ZARN_BUILD_DIR/corpus/$target
    crashes=$ZARN_BUILD_DIR/crashes/$target
    mkdir -p "$corpus" "$crashes"
    log=$ZARN_BUILD_DIR/$target.log
    # -close_fd_mask=1: the loaders' messages on standard output are noise here.
    if "$ZARN_BUILD_DIR/tests/fuzz/$target" -max_total_time="$seconds" -timeout=10 \
        -close_fd_mask=1 -print_final_stats=1 -artifact_prefix="$crashes/" \
        "$corpus" "$seeds" >"$log" 2>&1; then
        result=clean
    else
        result="FAILED, see $log"
        status=1
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "$target: ${runs:-?} runs in ${seconds} s, $result"
done
exit "$status"
