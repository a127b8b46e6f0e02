#!/bin/sh
# Builds the fuzz targets with clang (ASan + UBSan) into build-fuzz/ and runs each in turn
# for SECONDS, at the lowest priority, on the seeds plus the corpus earlier runs grew.
# Fails when any target finds a fault; the input that shows it lands in build-fuzz/artifacts/.
# Usage: tests/fuzz/run.sh [SECONDS] [TARGET...]   (default: 30 s, every target)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
seconds=${1:-30}
if [ $# -gt 0 ]; then shift; fi
build=${TOVEL_FUZZ_BUILD:-$root/build-fuzz}
targets=${*:-"fuzz_private_profile fuzz_profile_entry fuzz_profile fuzz_legacy_options
    fuzz_avs_script fuzz_progress_lines fuzz_media_probe fuzz_job_list"}

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTOVEL_FUZZ=ON -DTOVEL_BUILD_TESTS=OFF -DTOVEL_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target fuzzers

mkdir -p "$build/artifacts" "$build/logs"
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
status=0
for t in $targets; do
    corpus="$build/corpus/$t"
    mkdir -p "$corpus"
    log="$build/logs/$t.log"
    max_len=4096
    if [ "$t" = fuzz_media_probe ]; then max_len=16384; fi
    echo "fuzz: $t for ${seconds}s"
    # New inputs go to the first folder; the seeds beside the target stay as they are.
    if nice -n 19 "$build/fuzz/$t" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
        -max_len="$max_len" -print_final_stats=1 -artifact_prefix="$build/artifacts/$t-" \
        "$corpus" "$here/seeds/$t" >"$log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        echo "fuzz: $t ok, $runs runs"
    else
        echo "fuzz: $t FOUND A FAULT (log: $log)"
        tail -n 60 "$log"
        status=1
    fi
done
exit $status
