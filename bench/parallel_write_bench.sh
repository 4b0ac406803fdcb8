#!/bin/sh
# Whole-process time of `tarvo-config --write` over many readers at once,
# against the time of one reader, with reader simulators as the readers:
#   - 16 simulators over TCP and 4 absent readers (a serial line on which
#     nothing answers: a simulator's pseudo-terminal in its no-answer mode),
#     --jobs 8, beside one simulator plus one absent reader written alone;
#   - 20 readers that accept the TCP connection and never answer, --jobs 20,
#     beside one such reader alone;
#   - a site: 1, 10, 50 and 100 simulators over TCP with the default --jobs,
#     every reader checked to hold the
#     configuration and every outcome checked to be in the record.
#   parallel_write_bench.sh <tarvo-config> <tarvo-reader-sim> <update_config.lua> [runs]
set -eu
program=$(realpath "$1")
simulator=$(realpath "$2")
script=$(realpath "$3")
runs=${4:-3}
work=$(mktemp -d)
states=$work
pids=""
trap 'for p in $pids; do kill "$p" 2>/dev/null || true; done; rm -rf "$work" "$states"' EXIT
cp "$script" "$work/update_config.lua"
cd "$work"
printf "%s\n" "ochannel=8,de_type=1,prefix='AB',devnum=3,w_mode=1" >f.tcfg
export TARVO_CONFIG_PASSWORD='Tarvo#Factory#16' QT_QPA_PLATFORM=offscreen

# start NAME ARGS...: a simulator whose link is left in NAME.link.
start() {
  name=$1
  shift
  "$simulator" --port 0 --state "$states/$name.json" --pty-link "$work/$name.pty" "$@" >"$name.out" 2>&1 &
  pid=$!
  pids="$pids $pid"
  while ! grep -qs '^ready' "$name.out"; do
    kill -0 "$pid" 2>/dev/null || { cat "$name.out" >&2; exit 1; }
    sleep 0.05
  done
}
tcp_link() { echo "tcp:$(sed -n 's/^tcp \(.*\)$/\1/p' "$1.out")"; }
serial_link() { echo "serial:$work/$1.pty"; }

# median_ms COMMAND...: the median whole-process time of runs runs, and the
# last run's exit code and standard error left in last.code and last.err.
median_ms() {
  i=0
  : >times
  while [ "$i" -lt "$runs" ]; do
    start_ns=$(date +%s%N)
    code=0
    "$program" "$@" >last.out 2>last.err || code=$?
    echo $((($(date +%s%N) - start_ns) / 1000000)) >>times
    echo "$code" >last.code
    i=$((i + 1))
  done
  sort -n times | sed -n "$(((runs + 1) / 2))p"
}

i=0
while [ "$i" -lt 16 ]; do start "sim$i"; i=$((i + 1)); done
i=0
while [ "$i" -lt 4 ]; do start "absent$i" --no-tcp --fault noanswer; i=$((i + 1)); done
i=0
while [ "$i" -lt 20 ]; do start "silent$i" --no-pty --fault noanswer; i=$((i + 1)); done

devices() { # devices PREFIX COUNT KIND
  j=0
  while [ "$j" -lt "$2" ]; do
    printf -- '--device %s ' "$("${3}_link" "$1$j")"
    j=$((j + 1))
  done
}

one_sim=$(median_ms --write f.tcfg $(devices sim 1 tcp))
one_absent=$(median_ms --write f.tcfg $(devices absent 1 serial))
mixed=$(median_ms --write f.tcfg --jobs 8 $(devices sim 16 tcp) $(devices absent 4 serial))
mixed_code=$(cat last.code)
mixed_summary=$(cat last.err)
mixed_lines=$(wc -l <last.out)
one_silent=$(median_ms --write f.tcfg $(devices silent 1 tcp))
silent=$(median_ms --write f.tcfg --jobs 20 $(devices silent 20 tcp))
silent_code=$(cat last.code)
silent_summary=$(cat last.err)
silent_lines=$(wc -l <last.out)
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

# The site rows: simulators site0..site99, the records in a data folder of
# the bench's own. Each simulator syncs its state file before it answers a
# save, as a reader stores its flash; a hundred readers store theirs side by
# side, where a hundred simulators syncing to one file system queue behind
# its one journal. Their states lie in memory (/dev/shm) where there is one;
# the records stay on disk.
export XDG_DATA_HOME="$work/data"
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  states=$(mktemp -d -p /dev/shm)
fi
i=0
while [ "$i" -lt 100 ]; do start "site$i"; i=$((i + 1)); done
# --force: a reader that already holds the file is otherwise left alone, and
# every run after the first would write nothing.
site() { # site COUNT: the median time, then checks of the last run
  median_ms --write f.tcfg --force $(devices site "$1" tcp) >site.ms
  applied=0
  j=0
  while [ "$j" -lt "$1" ]; do
    grep -q "devnum=3" "$states/site$j.json" && applied=$((applied + 1))
    j=$((j + 1))
  done
  recorded=$("$program" --history | wc -l)
  rm -rf "$work/data"
  echo "$(cat site.ms) $applied $recorded"
}
set -- $(site 1); site1=$1
site_rows=""
for n in 1 10 50 100; do
  set -- $(site "$n")
  site_rows="$site_rows| $n simulators | $1 | $(ratio "$1" "$site1") | $2 of $n | $3 of $((n * runs)) |
"
done

printf '| run (median of %d) | whole run (ms) | alone (ms) | ratio | exit | lines | summary |\n' "$runs"
printf '|---|---:|---:|---:|---:|---:|---|\n'
printf '| 16 simulators + 4 absent, --jobs 8 | %d | %d + %d | %s | %s | %s | %s |\n' "$mixed" "$one_sim" \
  "$one_absent" "$(ratio "$mixed" $((one_sim + one_absent)))" "$mixed_code" "$mixed_lines" \
  "$mixed_summary"
printf '| 20 silent readers, --jobs 20 | %d | %d | %s | %s | %s | %s |\n' "$silent" "$one_silent" \
  "$(ratio "$silent" "$one_silent")" "$silent_code" "$silent_lines" "$silent_summary"

printf '\n| site (median of %d) | whole run (ms) | × one reader | readers holding it | records kept |\n' "$runs"
printf '|---|---:|---:|---:|---:|\n'
printf '%s' "$site_rows"
