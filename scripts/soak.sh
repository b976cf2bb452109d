#!/usr/bin/env bash
# The long runs, before each release (not part of the test command):
#   fuzz     every fuzz target for 10 million executions, two at a time; the
#            inputs that add coverage are merged into fuzz/corpus/<target>/
#            (commit them)
#   penhost  a million digitizer reports through penhost.exe under Wine from
#            the virtual tablet at full speed, its handles, GDI and USER
#            objects and private bytes sampled from outside by penwatch.exe
#   penmac   a million reports through penmac (replay, dry run): its resident
#            memory, and the allocations of its report path after warm-up
#
#   scripts/soak.sh [fuzz] [penhost] [penmac]     (default: all three)
#
# A figure is flat when the mean of the last tenth of the samples is at most
# the tolerance above the mean of the first tenth: 2 handles, 2 GDI objects,
# 2 USER objects, 1 MiB of resident memory. A leak of one object in 100 000
# reports, or of one byte a report, shows. penhost's private bytes rise while
# Wine queues the pointer moves faster than the window thread works them off;
# they count once the queue is worked off (up to PEN_SOAK_SETTLE s, default
# 300), against the first report, with the same 1 MiB.
#
# Environment: PEN_SOAK_RUNS (executions per fuzz target, default 10000000),
# PEN_SOAK_TARGETS (the fuzz targets to run, in this order, e.g.
# "keys_files_fuzz language_fuzz"; default all, alphabetically: list the
# slowest first and the two runners finish together),
# PEN_SOAK_FUZZ_SECONDS (a time limit per target, default none),
# PEN_SOAK_REPORTS (default 1000000). The figures are also written to
# build/soak/summary-<parts>.txt. Runs at nice 10: the machine stays usable.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$PEN_ROOT"

RUNS=${PEN_SOAK_RUNS:-10000000}
FUZZ_SECONDS=${PEN_SOAK_FUZZ_SECONDS:-0}
REPORTS=${PEN_SOAK_REPORTS:-1000000}
SETTLE=${PEN_SOAK_SETTLE:-300}
TOL_COUNT=2
TOL_BYTES=$((1024 * 1024))

out=$PEN_ROOT/build/soak
failed=0
say() { echo "$*" | tee -a "$summary"; }
fail() { say "FAILED: $*"; failed=1; }

build() {
  local preset=$1 log
  shift
  log=$(mktemp)
  if ! { nice -n 10 cmake --preset "$preset" && nice -n 10 cmake --build --preset "$preset" --target "$@"; } \
      >"$log" 2>&1; then
    tail -n 40 "$log"
    rm -f "$log"
    return 1
  fi
  rm -f "$log"
}

# make_recording FILE LEAD_IN_MS: REPORTS digitizer reports on interface B,
# no delay between them, after a lead-in (for a program that opens the
# tablet only after it is plugged in): strokes of 200
# reports (hovering in, the tip down with rising pressure and changing tilt,
# hovering out), each a little further across the tablet. Every report is
# valid, so each one counts.
make_recording() {
  awk -v n="$REPORTS" -v lead="$2" 'BEGIN {
    print "# " n " reports at full speed (scripts/soak.sh)"
    print "+" lead " wait"
    for (i = 0; i < n; i++) {
      s = int(i / 200); k = i % 200
      x = 400 + k * 15 + (s % 20) * 50
      y = 600 + (s % 37) * 60 + k * 5
      p = (k < 20 || k >= 180) ? 1800 : 1300 - ((k - 20) % 100) * 3
      printf "B 07%04X%04X%04X05AA0000FF33%02X%02X\n", x, y, p, k % 64, 192 + k % 64
    }
  }' >"$1"
}

# mean_tenths FILE COLUMN: the means of the first and of the last tenth of
# the numeric lines' COLUMN, as "FIRST LAST".
mean_tenths() {
  grep -v '^#' "$1" | awk -v c="$2" '{ v[NR] = $c } END {
    t = int(NR / 10); if (t < 1) t = 1
    for (i = 1; i <= t; i++) { a += v[i]; b += v[NR - t + i] }
    printf "%.1f %.1f", a / t, b / t
  }'
}

# flat NAME FILE COLUMN TOLERANCE UNIT: one line of the summary; a rise
# beyond the tolerance fails the run.
flat() {
  local first last verdict
  read -r first last <<<"$(mean_tenths "$2" "$3")"
  if awk -v a="$first" -v b="$last" -v t="$4" 'BEGIN { exit !(b - a <= t) }'; then
    verdict=flat
  else
    verdict="NOT FLAT"
    failed=1
  fi
  say "$(printf '  %-14s first tenth %14.1f  last tenth %14.1f  %s (tolerance +%s %s)' "$1" "$first" "$last" \
    "$verdict" "$4" "$5")"
}

run_fuzz() {
  local targets=() t
  if [ -n "${PEN_SOAK_TARGETS:-}" ]; then
    for t in $PEN_SOAK_TARGETS; do
      [ -f "fuzz/$t.cpp" ] || { fail "no fuzz target $t (fuzz/$t.cpp)"; return; }
      targets+=("$t")
    done
  else
    for f in fuzz/*_fuzz.cpp; do targets+=("$(basename "$f" .cpp)"); done
  fi
  say "== fuzz: ${#targets[@]} targets, $RUNS executions each$([ "$FUZZ_SECONDS" != 0 ] && echo ", at most $FUZZ_SECONDS s each")"
  build fuzz-soak "${targets[@]}" || { fail "fuzz targets do not build"; return; }
  local work=$out/fuzz
  rm -rf "$work"
  mkdir -p "$work"
  one() {
    local t=$1 exe=build/fuzz-soak/fuzz/$1 dir=$work/$1 start rc=0
    mkdir -p "$dir/new" fuzz/corpus/"$t"
    start=$(date +%s)
    # New inputs go to a scratch folder; the committed corpus only seeds.
    # AddressSanitizer keeps about 190 bytes for every thread that has ever
    # run, and penmac's delegate starts its HID thread for each input: ten
    # million inputs hold about 1.9 GB of those beside the fuzzer's own few
    # hundred MB, so the whole process may use 4 GB; one allocation is
    # still held to libFuzzer's usual 2 GB.
    nice -n 10 "$exe" -runs="$RUNS" -max_total_time="$FUZZ_SECONDS" -print_final_stats=1 \
      -rss_limit_mb=4096 -malloc_limit_mb=2048 \
      -artifact_prefix="$dir/" "$dir/new" "fuzz/corpus/$t" >"$dir/log" 2>&1 || rc=$?
    echo "$rc $(($(date +%s) - start))" >"$dir/result"
    # Only what reaches code the committed corpus does not is kept: edges,
    # not hit counts (-use_counters=0), and a small set of inputs that covers
    # them (-set_cover_merge, libFuzzer's -merge with a better choice).
    nice -n 10 "$exe" -set_cover_merge=1 -use_counters=0 "fuzz/corpus/$t" "$dir/new" >"$dir/merge.log" 2>&1 ||
      echo merge >>"$dir/result"
  }
  for t in "${targets[@]}"; do
    while [ "$(jobs -rp | wc -l)" -ge 2 ]; do wait -n || true; done
    one "$t" &
  done
  wait
  say "$(printf '  %-24s %12s %8s %10s %8s %s' target executions seconds "exec/s" crashes "corpus")"
  for t in "${targets[@]}"; do
    local dir=$work/$t rc secs execs crashes before after
    read -r rc secs <"$dir/result"
    execs=$(awk '/stat::number_of_executed_units/ { print $2 }' "$dir/log" | tail -n 1)
    crashes=$(find "$dir" -maxdepth 1 \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | wc -l)
    before=$(git ls-files "fuzz/corpus/$t" | wc -l)
    after=$(find "fuzz/corpus/$t" -type f | wc -l)
    say "$(printf '  %-24s %12s %8s %10s %8s %s' "$t" "${execs:-?}" "$secs" \
      "$([ -n "$execs" ] && [ "$secs" -gt 0 ] && echo $((execs / secs)) || echo -)" "$crashes" "$before -> $after files")"
    if [ "$rc" != 0 ] || [ "$crashes" != 0 ]; then fail "$t: exit $rc, $crashes crash files in $dir"; fi
    if grep -q merge "$dir/result"; then fail "$t: merging into fuzz/corpus/$t failed ($dir/merge.log)"; fi
    if [ -n "$execs" ] && [ "$execs" -lt "$RUNS" ]; then say "    $t stopped at the time limit, short of $RUNS"; fi
  done
}

run_penhost() {
  say "== penhost: $REPORTS digitizer reports under Wine"
  build win64 penhost penwatch || { fail "penhost does not build"; return; }
  local work=$out/penhost build=$PEN_ROOT/build/win64
  rm -rf "$work"
  mkdir -p "$work"
  make_recording "$work/soak.txt" 3000
  cp "$build/app/penhost.exe" "$build/bench/win32/penwatch.exe" "$work/"
  cp "$build/app/padlink_vc.dll" "$work/" 2>/dev/null || true
  export PEN_FORCE_XVFB=1
  pen_xvfb_start || { fail "no X display"; return; }
  pen_wine_prefix
  # The trace counts the reports the host handled (its last "report B #N").
  (cd "$work" && nice -n 10 "$PEN_WINE" ./penhost.exe --virtual-tablet=soak.txt --trace=trace.txt --no-launch \
    --exit-after=3600 </dev/null >"$work/penhost.out" 2>&1) &
  local host=$! waited=0 count=0 start end
  handled() { tail -c 4096 "$work/trace.txt" 2>/dev/null | grep -o 'report B #[0-9]*' | tail -n 1 | tr -dc 0-9 || true; }
  while [ -z "$(handled)" ] && [ $waited -lt 600 ] && kill -0 $host 2>/dev/null; do
    sleep 0.5
    waited=$((waited + 1))
  done
  # Sampled from the first reports to the last: start-up is not the run.
  (cd "$work" && nice -n 10 "$PEN_WINE" ./penwatch.exe --name=penhost.exe --interval-ms=1000 >"$work/samples.txt" \
    2>"$work/penwatch.err") &
  local watch=$!
  start=$(date +%s)
  while kill -0 $host 2>/dev/null; do
    count=$(handled)
    [ "${count:-0}" -ge "$REPORTS" ] && break
    sleep 2
  done
  end=$(date +%s)
  # Under Wine the pointer moves queue up faster than the program's window
  # thread works them off at full speed; they are sampled until worked off.
  local settle=0 last_private=-1 private same=0
  while [ $settle -lt "$SETTLE" ] && [ $same -lt 3 ] && kill -0 $host 2>/dev/null; do
    sleep 5
    settle=$((settle + 5))
    private=$(grep -v '^#' "$work/samples.txt" | tr -d '\r' | tail -n 1 | awk '{ print $5 }')
    if [ "$private" = "$last_private" ]; then same=$((same + 1)); else same=0; fi
    last_private=$private
  done
  kill $watch 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  wait $host 2>/dev/null || true
  wait $watch 2>/dev/null || true
  pen_xvfb_stop
  count=$(handled)
  rm -f "$work/trace.txt"  # two lines a report
  say "  reports handled (penhost's trace): $count of $REPORTS in $((end - start)) s"
  [ "$count" = "$REPORTS" ] || fail "penhost handled $count of $REPORTS reports"
  # The run: from the first report to the last; after it, the settling.
  grep -v '^#' "$work/samples.txt" | tr -d '\r' | awk -v e=$(((end - start) * 1000)) '$1 <= e' >"$work/run.txt"
  grep -v '^#' "$work/samples.txt" | tr -d '\r' | awk -v e=$(((end - start) * 1000)) '$1 > e' >"$work/after.txt"
  local n
  n=$(wc -l <"$work/run.txt")
  if [ "$n" -lt 10 ]; then
    fail "penwatch took $n samples during the run ($work/penwatch.err)"
    return
  fi
  say "  $n samples during the run, one a second or less often; sources: $(grep '^# [a-zA-Z]*:' "$work/samples.txt" |
    tr -d '\r' | sed 's/^# //' | paste -sd';' | sed 's/;/; /g')"
  flat handles "$work/run.txt" 2 $TOL_COUNT objects
  flat "GDI objects" "$work/run.txt" 3 $TOL_COUNT objects
  flat "USER objects" "$work/run.txt" 4 $TOL_COUNT objects
  local first_tenth last_tenth
  read -r first_tenth last_tenth <<<"$(mean_tenths "$work/run.txt" 5)"
  say "$(printf '  %-14s first tenth %14.1f  last tenth %14.1f  (includes the queued pointer moves)' \
    "private bytes" "$first_tenth" "$last_tenth")"
  # What is held for good: the private bytes once the queue is worked off,
  # against the first sample (the recording loaded, the first report in).
  local first settled
  first=$(head -n 1 "$work/run.txt" | awk '{ print $5 }')
  settled=$(tail -n 1 "$work/after.txt" | awk '{ print $5 }')
  if [ -z "$settled" ]; then
    fail "no sample after the run"
    return
  fi
  say "$(printf '  private bytes at the first report %s, %s s after the last %s: %s (tolerance +%d bytes)' "$first" \
    "$(($(tail -n 1 "$work/after.txt" | awk '{ print int($1 / 1000) }') - (end - start)))" "$settled" \
    "$([ $((settled - first)) -le $TOL_BYTES ] && echo flat || echo "NOT FLAT")" $TOL_BYTES)"
  [ $((settled - first)) -le $TOL_BYTES ] || failed=1
}

run_penmac() {
  say "== penmac: $REPORTS reports, replayed at full speed"
  build gcc penmac penmac_soak || { fail "penmac does not build"; return; }
  local work=$out/penmac exe=$PEN_ROOT/build/gcc/app/penmac
  rm -rf "$work"
  mkdir -p "$work/config"
  make_recording "$work/soak.txt" 0
  nice -n 10 "$exe" --replay="$work/soak.txt" --headless --dry-run --config-dir="$work/config" \
    --exit-after=3600 >"$work/penmac.out" 2>"$work/penmac.err" &
  local pid=$! waited=0
  while ! grep -q "tablet connected" "$work/penmac.err" && [ $waited -lt 1200 ] && kill -0 $pid 2>/dev/null; do
    sleep 0.1
    waited=$((waited + 1))
  done
  # Resident memory from the tablet's arrival until the replay is done: the
  # program's CPU time stops growing for 3 s once the last report is handled.
  local ticks last=-1 still=0 start end
  start=$(date +%s)
  : >"$work/samples.txt"
  while kill -0 $pid 2>/dev/null; do
    awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status" >>"$work/samples.txt" 2>/dev/null || break
    ticks=$(awk '{ sub(/.*\) /, ""); split($0, f, " "); print f[12] + f[13] }' "/proc/$pid/stat" 2>/dev/null) || break
    if [ "$ticks" = "$last" ]; then still=$((still + 1)); else still=0; fi
    last=$ticks
    [ $still -ge 6 ] && break
    sleep 0.5
  done
  end=$(($(date +%s) - 3))
  kill -INT $pid 2>/dev/null || true
  wait $pid 2>/dev/null || true
  local handled
  handled=$(sed -n 's/^penmac: \([0-9]*\) reports.*/\1/p' "$work/penmac.err" | tail -n 1)
  say "  reports handled (penmac's count): ${handled:-?} of $REPORTS in about $((end - start)) s"
  [ "${handled:-0}" = "$REPORTS" ] || fail "penmac handled ${handled:-no} reports of $REPORTS ($work/penmac.err)"
  # Drop the idle samples after the end.
  head -n -6 "$work/samples.txt" >"$work/rss.txt"
  say "  $(wc -l <"$work/rss.txt") samples of VmRSS, two a second"
  awk '{ print $1 * 1024 }' "$work/rss.txt" >"$work/rss-bytes.txt"
  flat "resident" "$work/rss-bytes.txt" 1 $TOL_BYTES bytes
  local line
  line=$(nice -n 10 "$PEN_ROOT/build/gcc/bench/penmac_soak" "$REPORTS") || fail "penmac's report path allocates: $line"
  say "  report path (penmac_soak): $line"
}

main() {
  local parts=("$@") p
  [ ${#parts[@]} -gt 0 ] || parts=(fuzz penhost penmac)
  for p in "${parts[@]}"; do
    case $p in fuzz | penhost | penmac) ;; *) echo "usage: $0 [fuzz] [penhost] [penmac]" >&2; exit 2 ;; esac
  done
  mkdir -p "$out"
  # One summary per selection, so that parts run side by side keep theirs.
  summary=$out/summary-$(IFS=-; echo "${parts[*]}").txt
  : >"$summary"
  for p in "${parts[@]}"; do "run_$p"; done
  echo
  echo "Soak figures (also in $summary):"
  cat "$summary"
  return $failed
}

# On one line, read whole before it runs: the script may be edited while a
# long run is under way.
main "$@"; exit $?
