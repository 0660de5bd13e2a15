#!/usr/bin/env bash
# Fuzzes the inputs that come from outside with libFuzzer, each target for
# the given seconds: the configuration file reader, the site schedule's, the
# panel's replies during a read and a write, and the PDF bookmark appender.
#   scripts/fuzz.sh SECONDS [TARGET...]
# Exits non-zero when a fuzzer finds a crash or a false success; the input
# that shows it is left in build-fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:?usage: scripts/fuzz.sh SECONDS [TARGET...]}
shift
build=build-fuzz

# Each target and its seeds.
declare -A seeds=(
    [configfile]=fuzz/corpus
    [schedule]=fuzz/corpus-schedule
    [link]=fuzz/corpus-link
    [pdfoutline]=fuzz/corpus-pdf
)
targets=("$@")
((${#targets[@]})) || targets=(configfile schedule link pdfoutline)

scripts/deps.sh clang libclang-rt-14-dev
CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPANEL_FUZZ=ON >/dev/null
cmake --build "$build" -j2 --target "${targets[@]/#/fuzz_}"

status=0
for target in "${targets[@]}"; do
    # A fuzzer adds what it finds to its corpus: give it a scratch copy, so
    # the seeds in the tree stay as they are.
    corpus=$build/corpus-$target
    rm -rf "$corpus"
    cp -r "${seeds[$target]}" "$corpus"
    log=$build/fuzz-$target.log
    echo "$target:"
    (cd "$build" && ./fuzz/fuzz_$target -max_total_time="$seconds" -print_final_stats=1 \
        "corpus-$target") >"$log" 2>&1 || status=$?
    grep -E '^stat::(number_of_executed_units|average_exec_per_sec)|^Done ' "$log" || true
    if ((status != 0)); then
        tail -n 40 "$log"
        echo "Fuzzer $target failed (exit $status); full log: $log" >&2
        exit "$status"
    fi
done
