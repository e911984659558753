#!/usr/bin/env bash
# Builds the Wahl.txt reader fuzzer with clang (libFuzzer, ASan, UBSan) in
# build/fuzz and runs it for FUZZ_SECONDS seconds (60 unless set). New inputs
# go to build/fuzz/corpus; fuzz/corpus holds the seeds. A crash leaves its
# input in build/fuzz as crash-* and makes the script fail.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build/fuzz"
seconds="${FUZZ_SECONDS:-60}"
mkdir -p "$build/corpus"

clang++ -std=c++20 -g -O1 -fno-omit-frame-pointer \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion \
    -I"$root" "$root"/storage/*.cpp "$root/fuzz/fuzz_readsettings.cpp" \
    -o "$build/fuzz_readsettings"

cd "$build"
./fuzz_readsettings -max_total_time="$seconds" -print_final_stats=1 \
    "$build/corpus" "$root/fuzz/corpus"
