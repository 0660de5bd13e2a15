#!/usr/bin/env bash
# Builds the tool and starts it.
#   scripts/run.sh               on the serial port chosen last (first: /dev/ttyS0)
#   scripts/run.sh --port DEV    on another serial device
#   scripts/run.sh --simulator   beside a simulated panel, no hardware needed
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target panelconfig panelsim

if [ "${1:-}" != "--simulator" ]; then
    exec build/src/panelconfig "$@"
fi

shift
fifo=$(mktemp -u)
mkfifo "$fifo"
build/tools/panelsim/panelsim --config tools/panelsim/demo.zqc "$@" >"$fifo" &
sim=$!
trap 'kill $sim 2>/dev/null; rm -f "$fifo"' EXIT
exec 3<"$fifo"
read -r device <&3
cat <&3 >/dev/null & # whatever else it prints (--verbose) must not fill the pipe
echo "Simulated panel on $device"
build/src/panelconfig --port "$device"
