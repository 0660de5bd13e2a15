#!/usr/bin/env bash
# Fuzzes the readers of untrusted files with libFuzzer, each for the given
# seconds: the configuration file reader, then the site schedule's.
#   scripts/fuzz.sh SECONDS
# Exits non-zero when a fuzzer finds a crash; the crashing input is left in
# build-fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:?usage: scripts/fuzz.sh SECONDS}
build=build-fuzz

scripts/deps.sh clang libclang-rt-14-dev
CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPANEL_FUZZ=ON >/dev/null
cmake --build "$build" -j2 --target fuzz_configfile fuzz_schedule

status=0
for target in configfile schedule; do
    # A fuzzer adds what it finds to its corpus: give it a scratch copy, so
    # the seeds in the tree stay as they are.
    seeds=fuzz/corpus
    [ "$target" = schedule ] && seeds=fuzz/corpus-schedule
    corpus=$build/corpus-$target
    rm -rf "$corpus"
    cp -r "$seeds" "$corpus"
    log=$build/fuzz-$target.log
    echo "$target:"
    (cd "$build" && ./fuzz/fuzz_$target -max_total_time="$seconds" -print_final_stats=1 \
        "corpus-$target") >"$log" 2>&1 || status=$?
    grep -E '^stat::number_of_executed_units|^Done ' "$log" || true
    if ((status != 0)); then
        tail -n 40 "$log"
        echo "Fuzzer $target failed (exit $status); full log: $log" >&2
        exit "$status"
    fi
done
