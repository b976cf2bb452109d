#!/usr/bin/env bash
# penmac's figures, optimised build: the per-stage benchmarks of the report
# path (median of 5 runs, allocations per report), the CPU time of the
# headless program for a replayed stream of 266 reports per second over
# 10 s, and how often each of its threads wakes while no reports arrive;
# the desktop application's start-up to its icon in a tray (trayer on a
# private Xvfb) and its wake-ups, with and without a tablet, beside the
# headless program's.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$PEN_ROOT"
"$PEN_ROOT/scripts/setup.sh"
cmake --preset gcc >/dev/null && cmake --build --preset gcc --target penmac_bench penmac >/dev/null
penmac=build/gcc/app/penmac
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "== report path, per stage (median of 5 runs)"
build/gcc/bench/penmac_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_display_aggregates_only=true 2>/dev/null | grep -E '^(Benchmark|BM_.*_median)'

echo
echo "== headless program, 266 reports/s for 10 s, recording poster"
# A pen going round in circles, the tip down every other second; delays of
# 4, 4, 4, 3 ms give 266.7 reports per second.
awk 'BEGIN {
  print "device version 0x2201 product \"[R711]Pen Tablet\""
  for (i = 0; i < 2660; i++) {
    x = int(2048 + 1500 * cos(i / 100)); y = int(2048 + 1500 * sin(i / 100))
    p = (int(i / 266) % 2) ? 1000 : 1800
    printf "+%d B 07 %02X %02X %02X %02X %02X %02X 05 AA 00 00 FF 33 10 F0\n", (i % 4 == 3) ? 3 : 4,
      int(x / 256), x % 256, int(y / 256), y % 256, int(p / 256), p % 256
  }
}' >"$work/stream.txt"
# Three runs: on a shared machine one alone says little.
for run in 1 2 3; do
  "$penmac" --headless --replay "$work/stream.txt" --dry-run --exit-after 10.5 --config-dir "$work/config" 2>&1 |
    grep -E 'reports'
done

# wakeups PID SECONDS: voluntary context switches (sleeps ended) of each
# thread of PID over that long, and their sum.
wakeups() {
  local pid=$1 seconds=$2 total=0 tid now
  declare -A before
  for t in /proc/$pid/task/*; do before[${t##*/}]=$(awk '/^voluntary_ctxt_switches/ {print $2}' "$t/status"); done
  sleep "$seconds"
  for t in /proc/$pid/task/*; do
    tid=${t##*/}
    now=$(awk '/^voluntary_ctxt_switches/ {print $2}' "$t/status")
    echo "  thread $tid ($(cat "$t/comm")): $((now - ${before[$tid]:-0})) wake-ups"
    total=$((total + now - ${before[$tid]:-0}))
  done
  echo "  all threads: $total wake-ups in $seconds s"
}

printf 'device version 0x2201\n+10 B 07 04 00 04 00 07 08 05 AA 00 00 FF 33 00 00\nwait 60000\n' >"$work/idle.txt"
printf 'start unplugged\nwait 60000\n' >"$work/none.txt"

echo
echo "== wake-ups per thread, 10 s without reports (the model's timer: every 0.2 s = 50)"
for session in idle none; do
  echo "headless, $([ $session = idle ] && echo 'tablet connected' || echo 'no tablet'):"
  "$penmac" --headless --replay "$work/$session.txt" --dry-run --config-dir "$work/config" 2>/dev/null &
  pid=$!
  sleep 1
  wakeups "$pid" 10
  kill "$pid"; wait "$pid" || true
done

echo
echo "== desktop application: start-up to the icon in the tray, and its wake-ups (trayer on Xvfb)"
unset DISPLAY WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS
PEN_FORCE_XVFB=1 pen_xvfb_start
trayer --edge top --align right --widthtype request --height 24 >/dev/null 2>&1 &
tray=$!
trap 'kill $tray 2>/dev/null; pen_xvfb_stop; rm -rf "$work"' EXIT
for _ in $(seq 100); do xwininfo -root -tree | grep -q '("panel" "trayer")' && break; sleep 0.1; done
embedded() { xwininfo -root -tree | awk '/\("panel" "trayer"\)/ {p = 1; next} p && /\("penmac" "penmac"\)/ {f = 1} END {exit !f}'; }
for session in idle none; do
  echo "desktop, $([ $session = idle ] && echo 'tablet connected' || echo 'no tablet'):"
  for run in 1 2 3; do
    start=$(date +%s%N)
    "$penmac" --replay "$work/$session.txt" --dry-run --config-dir "$work/config" 2>/dev/null &
    pid=$!
    until embedded; do sleep 0.005; done
    echo "  run $run: icon in the tray $(( ($(date +%s%N) - start) / 1000000 )) ms after start"
    if [ $run -lt 3 ]; then kill "$pid"; wait "$pid" || true; while embedded; do sleep 0.05; done; fi
  done
  sleep 1
  wakeups "$pid" 10
  kill "$pid"; wait "$pid" || true
  while embedded; do sleep 0.05; done
done
