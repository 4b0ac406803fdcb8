#!/bin/sh
# Whole-process time and peak memory of `tarvo-config --text FILE`, for the
# program given, for a Qt Core program that only starts and exits (the
# yardstick) and, when TARVO_BASELINE names another build's program (for
# example the previous commit's), for that one too, in one run.
#   command_line_bench.sh <tarvo-config> <update_config.lua> <core_alone> [runs]
set -eu
program=$1
script=$2
yardstick=$3
runs=${4:-50}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$script" "$work/update_config.lua"
cd "$work"
printf "%s\n" "___TRVO_CONFIG_V1.1.0___{ochannel=8,de_type=1,cr=0,nl=0,wled=1,prefix='AB',postfix='XY',s_mode=0,interval=300,devnum=0,brightness=200,ascan=1,decoder=3,beepd=30,ledd=200,ft=1,ssid='net',psk='pw123456',owifi=4,taddr='10.0.0.2',port=9000,touttime=2,heart_en=1,heart_time=60,heart_data='www.tarvo.com',awifi_s=2,awifi_f=4,dchannel=1,w_mode=1}" >f.tcfg
export TARVO_CONFIG_PASSWORD=0123456789abcdef

measure() {
  start=$(date +%s%N)
  i=0
  while [ "$i" -lt "$runs" ]; do
    "$1" --text f.tcfg >/dev/null 2>&1
    i=$((i + 1))
  done
  end=$(date +%s%N)
  peak=$(/usr/bin/time -f %M "$1" --text f.tcfg 2>&1 >/dev/null | tail -n 1)
  mean=$(((end - start) / runs / 1000))
  printf '| %s | %d | %s |\n' "$2" "$mean" "$peak"
  echo "$mean" >"$work/$3.mean"
}

printf '| `--text FILE`, %d runs | mean (µs) | peak memory (KiB) |\n|---|---:|---:|\n' "$runs"
measure "$program" "this build" tool
measure "$yardstick" "a Qt Core program that starts and exits" yardstick
if [ -n "${TARVO_BASELINE:-}" ]; then
  measure "$TARVO_BASELINE" "baseline ($TARVO_BASELINE)" baseline
fi
awk -v a="$(cat "$work/tool.mean")" -v b="$(cat "$work/yardstick.mean")" \
  'BEGIN { printf "\n`--text` takes %.2f × the Qt Core program.\n", a / b }'
