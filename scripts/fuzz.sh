#!/usr/bin/env bash
# Fuzzes the configuration file reader with libFuzzer for the given seconds.
#   scripts/fuzz.sh SECONDS
# Exits non-zero when the fuzzer finds a crash; the crashing input is left in
# build-fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:?usage: scripts/fuzz.sh SECONDS}
build=build-fuzz

scripts/deps.sh clang libclang-rt-14-dev
CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPANEL_FUZZ=ON >/dev/null
cmake --build "$build" -j2 --target fuzz_configfile

# The fuzzer adds what it finds to its corpus: give it a scratch copy, so the
# seeds in the tree stay as they are.
corpus=$build/corpus
rm -rf "$corpus"
cp -r fuzz/corpus "$corpus"

log=$build/fuzz.log
status=0
(cd "$build" && ./fuzz/fuzz_configfile -max_total_time="$seconds" -print_final_stats=1 corpus) \
    >"$log" 2>&1 || status=$?

grep -E '^stat::number_of_executed_units|^Done ' "$log" || true
if ((status != 0)); then
    tail -n 40 "$log"
    echo "Fuzzer failed (exit $status); full log: $log" >&2
fi
exit "$status"
