#!/usr/bin/env bash
# Builds the fuzzers with clang (libFuzzer, ASan, UBSan) in build/fuzz, by
# the fuzz preset of CMakePresets.json, and runs each for FUZZ_SECONDS
# seconds (60 unless set): the Wahl.txt reader on
# arbitrary bytes, the writer on records made from arbitrary bytes, and the
# parser of the desktop's X settings on arbitrary bytes. New inputs go to
# build/fuzz/corpus-*; fuzz/corpus holds the reader's seeds, fuzz/xsettings
# the parser's. A crash leaves its input in build/fuzz as crash-* and makes
# the script fail.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build/fuzz"
seconds="${FUZZ_SECONDS:-60}"
mkdir -p "$build/corpus-reader" "$build/corpus-writer" "$build/corpus-xsettings"

(cd "$root" && cmake --preset fuzz > /dev/null && cmake --build --preset fuzz -j "$(nproc 2>/dev/null || echo 2)")

cd "$build"
./fuzz_readsettings -max_total_time="$seconds" -print_final_stats=1 \
    "$build/corpus-reader" "$root/fuzz/corpus"
./fuzz_xsettings -max_total_time="$seconds" -print_final_stats=1 \
    "$build/corpus-xsettings" "$root/fuzz/xsettings"
# Each write flushes to the disk; on a memory file system that costs nothing.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR="${TMPDIR:-/dev/shm}"; fi
./fuzz_writesettings -max_total_time="$seconds" -print_final_stats=1 \
    "$build/corpus-writer"
