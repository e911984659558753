#!/usr/bin/env bash
# Builds the Wahl.txt fuzzers with clang (libFuzzer, ASan, UBSan) in
# build/fuzz and runs each for FUZZ_SECONDS seconds (60 unless set): the
# reader on arbitrary bytes, the writer on records made from arbitrary bytes.
# New inputs go to build/fuzz/corpus-*; fuzz/corpus holds the reader's seeds.
# A crash leaves its input in build/fuzz as crash-* and makes the script fail.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build/fuzz"
seconds="${FUZZ_SECONDS:-60}"
mkdir -p "$build/corpus-reader" "$build/corpus-writer"

for target in readsettings writesettings; do
    clang++ -std=c++20 -g -O1 -fno-omit-frame-pointer \
        -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
        -Wall -Wextra -Wpedantic -Wshadow -Wconversion \
        -I"$root" "$root"/storage/*.cpp "$root/fuzz/fuzz_$target.cpp" \
        -o "$build/fuzz_$target"
done

cd "$build"
./fuzz_readsettings -max_total_time="$seconds" -print_final_stats=1 \
    "$build/corpus-reader" "$root/fuzz/corpus"
# Each write flushes to the disk; on a memory file system that costs nothing.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR="${TMPDIR:-/dev/shm}"; fi
./fuzz_writesettings -max_total_time="$seconds" -print_final_stats=1 \
    "$build/corpus-writer"
