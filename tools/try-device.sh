#!/bin/sh
# Tries the device link against the reader simulator: starts
# tarvo-reader-sim in the background, keeping its state in the build tree
# given as argument, runs the tool, and stops the simulator when the tool
# exits. The tool reaches the simulator over TCP (the device library's
# default) unless TRVO_DEVICE says otherwise, e.g. serial:BUILD/reader-pty.
set -eu
build=$(cd "$1" && pwd)
tools=$(cd "$(dirname "$0")" && pwd)
log="$build/reader-sim.log"

"$build/simulator/tarvo-reader-sim" --state "$build/reader-state.json" \
  --pty-link "$build/reader-pty" </dev/null >"$log" 2>&1 &
sim=$!
# Stopped by a signal, the simulator leaves its terminal's link behind.
stop_simulator() {
  kill "$sim" 2>/dev/null || true
  rm -f "$build/reader-pty"
}
trap stop_simulator EXIT
trap 'exit 130' INT TERM

# Wait for the simulator to listen (it says "ready"), five seconds at most.
tries=0
until grep -q '^ready' "$log"; do
  if ! kill -0 "$sim" 2>/dev/null || [ "$tries" -ge 50 ]; then
    echo "The reader simulator did not start:" >&2
    cat "$log" >&2
    exit 1
  fi
  sleep 0.1
  tries=$((tries + 1))
done
echo "Reader simulator running (state in $build/reader-state.json, log in $log):"
grep -E '^(tcp|pty) ' "$log"
echo "Its configuration password is Tarvo#Factory#16."

"$tools/run-tool.sh" "$build"
