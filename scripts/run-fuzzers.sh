#!/usr/bin/env bash
# Builds the fuzz targets with clang (ASan + UBSan + libFuzzer) in build/fuzz
# and runs each for a bounded time on its corpus: KAVOLO_FUZZ_SECONDS
# seconds each, 60 unless set. Fails on any crash, leak, sanitizer report or
# broken invariant, and leaves the input that caused it in build/fuzz/artifacts/.
#
# New inputs found on the way go to build/fuzz/corpus/NAME, not into the
# repository's corpora; to keep the interesting ones, merge them:
#   build/fuzz/NAME -merge=1 host/.../fuzz/corpus build/fuzz/corpus/NAME
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${KAVOLO_FUZZ_SECONDS:-60}
jobs=$(nproc 2>/dev/null || echo 2)

CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKAVOLO_FUZZ=ON >/dev/null
cmake --build build/fuzz -j "$jobs" --target receive_fuzzer coff_fuzzer roast_log_fuzzer artisan_fuzzer

mkdir -p build/fuzz/artifacts
# name, folder with its corpus and dictionary, longest input
fuzzers=(
    "receive_fuzzer host/serial/fuzz 4096"
    "coff_fuzzer host/profiles/fuzz 1024"
    "roast_log_fuzzer host/roast/fuzz 4096"
    "artisan_fuzzer host/roast/fuzz/artisan 8192"
)
for entry in "${fuzzers[@]}"; do
    read -r name folder max_len <<<"$entry"
    work="build/fuzz/corpus/$name"
    log="build/fuzz/$name.log"
    mkdir -p "$work"
    echo "-- $name: ${seconds} s"
    if ! "build/fuzz/$name" -max_total_time="$seconds" -max_len="$max_len" -timeout=20 -rss_limit_mb=2048 \
        -dict="$folder/$name.dict" -artifact_prefix="build/fuzz/artifacts/$name-" -print_final_stats=1 \
        "$work" "$folder/corpus" >"$log" 2>&1; then
        tail -n 60 "$log"
        echo "$name failed; the input is in build/fuzz/artifacts/ (log: $log)" >&2
        exit 1
    fi
    grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)' "$log" || tail -n 3 "$log"
done
echo "Fuzzers passed."
