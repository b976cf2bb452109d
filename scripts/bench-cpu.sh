#!/usr/bin/env bash
# CPU of the running service against a floor. penhost.exe plays the benchmark
# session from the virtual tablet: after a lead-in, 2660 pen positions at 266
# a second (10 s), each one moving the pointer. penfloor.exe only injects the
# same 2660 pointer moves at the same moments with the same call. Both also
# run without moves (start, wait, end: the fixed part), and an idle run of
# the same length gives what the surroundings cost by themselves.
#
# Each run counts the CPU (user + system) of the program itself and of what
# serves it: the Wine server and Wine's background programs of this prefix,
# and a private X server. All of it is read from /proc, so other work on a
# shared machine does not count. The three kinds of run alternate,
# PEN_CPU_REPEATS times (default 5); medians are reported.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$PEN_ROOT"
"$PEN_ROOT/scripts/setup.sh"

REPEATS=${PEN_CPU_REPEATS:-5}
LENGTH_S=13  # lead-in 2.5 s, the session 10 s, a little after
build=$PEN_ROOT/build/win64
log=$(mktemp)
if ! { cmake --preset win64 && cmake --build --preset win64 --target penhost penfloor; } >"$log" 2>&1; then
  tail -n 40 "$log"; rm -f "$log"; exit 1
fi
rm -f "$log"

work=$(mktemp -d)
export PEN_FORCE_XVFB=1  # an X server of our own: its CPU is this run's alone
set +e
pen_xvfb_start || exit 1
pen_wine_prefix
set -e
trap 'pen_wine_stop; pen_xvfb_stop; rm -rf "$work"' EXIT

winpath() { echo "Z:${1//\//\\}"; }
"$PEN_WINE" "$build/bench/win32/penfloor.exe" --recording="$(winpath "$work/session.txt")" </dev/null
"$PEN_WINE" "$build/bench/win32/penfloor.exe" --moves=0 --recording="$(winpath "$work/still.txt")" </dev/null
cp "$build/app/penhost.exe" "$work/"
cp "$build/app/padlink_vc.dll" "$work/" 2>/dev/null || true

# CPU ticks (utime + stime, fields 14 and 15 of /proc/PID/stat) of the X
# server and of every process of this prefix, the Wine server included,
# into `ticks`; `alive` marks the processes seen by the last sample. Wine
# starts a program in a process of its own that is nobody's child, so the
# program is followed by sampling until it is gone (the last tenth of a
# second before it ends is not seen).
# `ours` is 0 for a process of no interest, 1 for a serving one, 2 for the
# program (or Wine's start.exe, which launches it).
declare -A ours ticks alive group
PROGRAM=none
sample() {
  local p pid line fields
  alive=()
  for p in /proc/[0-9]*; do
    pid=${p#/proc/}
    if [ -z "${ours[$pid]+set}" ]; then
      ours[$pid]=0
      if [ "$pid" = "${PEN_XVFB_PID:-}" ] || grep -qzx "WINEPREFIX=$WINEPREFIX" "$p/environ" 2>/dev/null; then
        ours[$pid]=1
        if tr '\0' ' ' <"$p/cmdline" 2>/dev/null | grep -qE "$PROGRAM|start\.exe"; then ours[$pid]=2; fi
        case $(cat "$p/comm" 2>/dev/null) in
          wineserver*) group[$pid]=server ;;
          Xvfb) group[$pid]=x ;;
          *) group[$pid]=other ;;
        esac
      fi
    fi
    [ "${ours[$pid]}" != 0 ] || continue
    read -r line 2>/dev/null <"$p/stat" || continue
    read -r -a fields <<<"${line##*) }"
    ticks[$pid]=$((fields[11] + fields[12]))
    alive[$pid]=1
  done
}

program_running() {
  local pid
  for pid in "${!alive[@]}"; do [ "${ours[$pid]}" = 2 ] && return 0; done
  return 1
}

# Runs run_KIND and prints the CPU seconds of the program (its start-up and
# end included), of the Wine server, of the X server and of Wine's other
# background programs.
measure() {
  local pid waited=0
  declare -A base=() sum=([program]=0 [server]=0 [x]=0 [other]=0)
  ours=() ticks=() group=()
  PROGRAM=$2
  sample
  for pid in "${!ticks[@]}"; do base[$pid]=${ticks[$pid]}; done
  "run_$1" </dev/null >/dev/null 2>&1 &
  local job=$!
  while kill -0 "$job" 2>/dev/null; do
    sample
    sleep 0.1
  done
  wait "$job" || true
  sample
  while program_running && [ $waited -lt 100 ]; do
    sleep 0.1
    sample
    waited=$((waited + 1))
  done
  for pid in "${!ticks[@]}"; do
    local g=${group[$pid]}
    [ "${ours[$pid]}" = 2 ] && g=program
    sum[$g]=$((sum[$g] + ticks[$pid] - ${base[$pid]:-0}))
  done
  awk -v hz="$(getconf CLK_TCK)" -v p="${sum[program]}" -v s="${sum[server]}" -v x="${sum[x]}" -v o="${sum[other]}" \
    'BEGIN { printf "%.2f %.2f %.2f %.2f", p / hz, s / hz, x / hz, o / hz }'
}

run_penhost() { (cd "$work" && "$PEN_WINE" ./penhost.exe --virtual-tablet=session.txt --exit-after=$LENGTH_S); }
run_floor() { "$PEN_WINE" "$build/bench/win32/penfloor.exe" --length=$((LENGTH_S * 1000)); }
run_penhost-still() { (cd "$work" && "$PEN_WINE" ./penhost.exe --virtual-tablet=still.txt --exit-after=$LENGTH_S); }
run_floor-still() { "$PEN_WINE" "$build/bench/win32/penfloor.exe" --moves=0 --length=$((LENGTH_S * 1000)); }
run_idle() { sleep $LENGTH_S; }

# One of each first, unmeasured: Wine starts its background programs and
# loads its libraries on a program's first run.
run_penhost </dev/null >/dev/null 2>&1 || true
run_floor </dev/null >/dev/null 2>&1 || true

kinds="penhost floor penhost-still floor-still idle"
results=$work/results
: >"$results"
for r in $(seq "$REPEATS"); do
  for kind in $kinds; do
    case $kind in penhost*) exe='penhost\.exe' ;; floor*) exe='penfloor\.exe' ;; *) exe='^$' ;; esac
    read -r program server x other <<<"$(measure "$kind" "$exe")"
    echo "$kind $program $server $x $other" >>"$results"
    echo "bench-cpu: run $r $kind: program $program s, Wine server $server s, X server $x s, other Wine $other s" >&2
  done
done

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
column() { awk -v k="$1" -v f="$2" '$1 == k { print $f }' "$results" | median; }
total() { awk -v k="$1" '$1 == k { print $2 + $3 + $4 + $5 }' "$results" | median; }

echo
echo "CPU seconds per ${LENGTH_S} s run, medians of $REPEATS runs:"
printf "  %-14s %8s %8s %8s %8s %8s\n" run program "Wine srv" "X srv" "other" total
for kind in $kinds; do
  printf "  %-14s %8.2f %8.2f %8.2f %8.2f %8.2f\n" "$kind" "$(column "$kind" 2)" "$(column "$kind" 3)" \
    "$(column "$kind" 4)" "$(column "$kind" 5)" "$(total "$kind")"
done
awk -v h="$(total penhost)" -v f="$(total floor)" -v i="$(total idle)" -v hs="$(total penhost-still)" \
    -v fs="$(total floor-still)" 'BEGIN {
  printf "penhost / floor: %.2f; above idle %.2f s / %.2f s = %.2f\n", h / f, h - i, f - i, (f > i) ? (h - i) / (f - i) : 0
  printf "the 2660 moves alone (run minus the same program without moves): %.2f s / %.2f s = %.2f\n", h - hs, f - fs, (f > fs) ? (h - hs) / (f - fs) : 0
}'
