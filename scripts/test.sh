#!/usr/bin/env bash
# Every test suite: native under ASan/UBSan (clang, which also builds the
# fuzz targets), the g++ build of what only Linux builds (its warnings and
# tests; the benchmarks run once), penmac against a real kernel under qemu,
# bounded fuzz runs, and the Windows builds under wine64 and wine32 (in a
# qemu guest where this kernel cannot run 32-bit programs;
# PEN_WINE32_GUEST=1 forces the guest), with the setup program made from
# them and run end to end (tests/e2e/installer), and penmac's Debian package
# (tests/e2e/package).
#
#   scripts/test.sh           everything
#   scripts/test.sh --quick   the native build and its tests only: the loop
#                             to run after every change
#
# Ends with a table of each stage's time. The Windows suites' end-to-end runs
# each get a Wine and a display of their own (scripts/wine-run.sh), so they
# run side by side, and each suite runs in the background once built.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$PEN_ROOT"

quick=
for arg in "$@"; do
  case $arg in
    --quick) quick=1 ;;
    *) echo "test: unknown argument $arg (known: --quick)" >&2; exit 2 ;;
  esac
done

setup_start=$SECONDS
"$PEN_ROOT/scripts/setup.sh" || exit 1
setup_time=$((SECONDS - setup_start))
SECONDS=0

# Eleven targets and growing: each replays its committed corpus (what the
# long runs found) and then mutates for the rest of 5 s, two at a time;
# scripts/soak.sh runs them for millions of executions.
FUZZ_SECONDS=${FUZZ_SECONDS:-5}
# Wine tests mostly wait on real time; more of them at once than cores.
WINE_JOBS=${PEN_WINE_JOBS:-6}
log=$(mktemp -d)

# stage NAME COMMAND...: runs COMMAND, timing it; its counts go to
# $log/NAME.count ("passed failed") and its time to the table.
stage() {
  local name=$1; shift
  local start=$SECONDS
  "$@"
  local rc=$?
  echo "$name $start $SECONDS $rc" >>"$log/stages"
  return $rc
}

# stage_bg NAME COMMAND...: the same in the background, its output kept
# until stage_join NAME prints it.
declare -A bg_pid
stage_bg() {
  local name=$1; shift
  stage "$name" "$@" >"$log/$name.out" 2>&1 &
  bg_pid[$name]=$!
}

stage_join() {
  local name=$1
  [ -n "${bg_pid[$name]:-}" ] || return 0
  wait "${bg_pid[$name]}"
  cat "$log/$name.out"
}

count() {  # count NAME PASSED FAILED
  echo "$2 $3" >>"$log/$1.count"
}

# Adds one ctest run's counts.
tally() {
  local name=$1 out=$2 line p t
  line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$out" | tail -n 1)
  if [ -z "$line" ]; then count "$name" 0 1; return 1; fi
  t=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
  p=$(sed -E 's/.*, ([0-9]+) tests? failed.*/\1/' <<<"$line")
  count "$name" $((t - p)) "$p"
  [ "$p" -eq 0 ]
}

# Configures and builds PRESET; a failure is shown and counted. Niced: the
# suites running beside it in the background wait on real time (start-up
# limits, wake-up counts), and the build takes whatever CPU they leave.
build() {
  local preset=$1
  echo "=== build $preset"
  if ! cmake --preset "$preset" >"$log/$preset.configure" 2>&1; then
    cat "$log/$preset.configure"; count "build-$preset" 0 1; return 1
  fi
  if ! nice -n 5 cmake --build --preset "$preset" >"$log/$preset.build" 2>&1; then
    grep -E -B2 -A12 'error|FAILED' "$log/$preset.build" | head -n 80; count "build-$preset" 0 1; return 1
  fi
}

# run_tests NAME COMMAND...: a ctest run (COMMAND may wrap it); shows what
# did not pass and counts the results. Returns COMMAND's status.
run_tests() {
  local name=$1; shift
  echo "=== $name"
  "$@" 2>&1 | tee "$log/$name.test" | grep -v -E '^ *(Start +[0-9]+:|[0-9]+/[0-9]+ Test +#[0-9]+: .* Passed)' | tail -n 60
  local rc=${PIPESTATUS[0]}
  tally "$name" "$log/$name.test" || rc=1
  return "$rc"
}

native_tests() { run_tests native ctest --preset native; }

gcc_tests() {
  run_tests gcc ctest --preset gcc || return
  # The benchmarks run once each, so that they cannot rot unseen; their
  # figures come from scripts/bench.sh.
  local b
  for b in build/gcc/bench/pen_bench build/gcc/bench/penmac_bench; do
    [ -x "$b" ] || continue
    if "$b" --benchmark_min_time=0 --benchmark_repetitions=1 >"$log/$(basename "$b").smoke" 2>&1; then
      echo "bench $(basename "$b"): $(grep -cE '^BM_' "$log/$(basename "$b").smoke") benchmarks ran once"
      count bench 1 0
    else
      echo "bench $(basename "$b"): FAILED"; tail -n 30 "$log/$(basename "$b").smoke"; count bench 0 1
    fi
  done
}

fuzz() {
  echo "=== fuzz (${FUZZ_SECONDS} s each, two at a time)"
  local f jobs=()
  for f in build/native/fuzz/*_fuzz; do
    [ -x "$f" ] || continue
    fuzz_one "$f" &
    jobs+=($!)
    if [ ${#jobs[@]} -ge 2 ]; then wait "${jobs[0]}"; jobs=("${jobs[@]:1}"); fi
  done
  # Only these: the display and the background suites are children too.
  [ ${#jobs[@]} -eq 0 ] || wait "${jobs[@]}"
}

fuzz_one() {
  local f=$1 name corpus
  name=$(basename "$f")
  corpus=build/native/corpus/$name
  mkdir -p "$corpus"
  [ -d "fuzz/corpus/$name" ] && cp -n fuzz/corpus/"$name"/* "$corpus"/ 2>/dev/null
  if "$f" -max_total_time="$FUZZ_SECONDS" -print_final_stats=1 -artifact_prefix="$log/$name-" "$corpus" >"$log/$name.log" 2>&1; then
    echo "fuzz $name: ok ($(grep -oE 'stat::number_of_executed_units: *[0-9]+' "$log/$name.log" | grep -oE '[0-9]+$') runs, $(ls "$corpus" | wc -l) inputs in corpus)"
    count fuzz 1 0
  else
    echo "fuzz $name: FAILED"; tail -n 40 "$log/$name.log"
    count fuzz 0 1
  fi
}

# penmac against a real kernel: qemu boots Debian's kernel with uhid and
# uinput and runs the guest check on the native build's programs.
penmac_kernel() {
  echo "=== penmac against a real kernel (qemu, TCG)"
  if "$PEN_ROOT/scripts/penmac-kernel-test.sh" "$PEN_ROOT/build/native" >"$log/penmac-kernel.log" 2>&1; then
    grep -E '^FAIL|woke|PENMAC-KERNEL' "$log/penmac-kernel.log"
    count penmac-kernel 1 0
  else
    tail -n 60 "$log/penmac-kernel.log"
    count penmac-kernel 0 1
  fi
}

# One Windows suite at a time: each runs its Wines side by side already, and
# two suites at once on two busy cores would push the programs past their
# start-up limits.
one_wine_suite() {
  local lock=$log/wine-suite.lock
  (flock 9 && "$@") 9>"$lock"
}

win64_tests() { run_tests win64 ctest --preset win64 -j "$WINE_JOBS"; }

# The 32-bit Windows programs run under wine32, which needs a kernel that
# executes 32-bit code. Where this one cannot (or PEN_WINE32_GUEST is set),
# the whole suite runs in a qemu guest booting a kernel that can.
win32_tests() {
  if [ -n "$PEN_WINE32_OK" ] && [ -z "${PEN_WINE32_GUEST:-}" ]; then
    run_tests win32 ctest --preset win32 -j "$WINE_JOBS"
    return
  fi
  echo "(win32 in a qemu guest: $([ -n "$PEN_WINE32_OK" ] && echo "PEN_WINE32_GUEST is set" || echo "this kernel cannot start 32-bit programs"))"
  # Under emulation the CPU is the limit: Wines side by side only slowed one
  # another past the programs' start-up limits, so the guest runs them in
  # one Wine, one after another, as before.
  PEN_WINE_SHARED=1 run_tests win32 "$PEN_ROOT/scripts/wine32-guest.sh" -w build/win32 ctest --preset win32 -j 1
  local rc=$?
  [ $rc -eq 125 ] && echo "win32: FAILED: wine32 cannot run on this kernel and the qemu guest that would run it did not (see above)"
  return $rc
}

# count_summary NAME OUT PREFIX: counts the line "PREFIX: N passed, N failed"
# a test script ends its output OUT with; a script that did not get there
# counts as a failure.
count_summary() {
  local line
  line=$(grep -E "^$3: [0-9]+ passed, [0-9]+ failed" "$2" | tail -n 1)
  if [ -n "$line" ]; then
    count "$1" "$(sed -E 's/.* ([0-9]+) passed.*/\1/' <<<"$line")" "$(sed -E 's/.* ([0-9]+) failed.*/\1/' <<<"$line")"
  else
    count "$1" 0 1
  fi
}

# The setup program, built from both Windows builds and run under Wine
# (tests/e2e/installer). Niced: it runs beside the Windows suites, whose
# programs have start-up limits. In the 32-bit guest it waits its turn.
installer_tests() {
  echo "=== installer"
  local out=$log/installer.log
  nice -n 10 "$PEN_ROOT/tests/e2e/installer/installer-test.sh" >"$out" 2>&1
  local rc=$?
  grep -E '^(installer|FAILED|\(installer)' "$out"
  [ $rc -eq 0 ] || grep -v -E '^installer ' "$out" | tail -n 60
  count_summary installer "$out" installer
  return $rc
}

# penmac's Debian package: made from the gcc build (the preset has the
# package's settings, so the package costs no build of its own), lintian,
# its contents, an installation into a throwaway root, and its desktop
# entries, udev rule and user unit read by their own parsers
# (tests/e2e/package). Niced: it runs beside the other suites.
package_tests() {
  echo "=== penmac's Debian package"
  local out=$log/package.log
  nice -n 10 "$PEN_ROOT/tests/e2e/package/deb-test.sh" --from=build/gcc >"$out" 2>&1
  local rc=$?
  grep -E '^deb-test: (FAILED|skipped)|^deb-test: [0-9]+ passed' "$out"
  [ $rc -eq 0 ] || grep -v -E '^deb-test: ok' "$out" | tail -n 60
  count_summary package "$out" deb-test
  return $rc
}

# The stage table, then the totals; the status is 0 only when nothing failed.
report() {
  local passed=0 failed=0 p f name start end rc
  echo
  printf '%-16s %6s %6s  %s\n' stage start time result
  while read -r name start end rc; do
    printf '%-16s %5ss %5ss  %s\n' "$name" "$start" "$((end - start))" "$([ "$rc" -eq 0 ] && echo ok || echo FAILED)"
  done <"$log/stages"
  printf '%-16s %6s %5ss  %s\n' "all" "" "$SECONDS" "(apt installs before it: ${setup_time} s)"
  for f in "$log"/*.count; do
    [ -e "$f" ] || continue
    while read -r p f; do passed=$((passed + p)); failed=$((failed + f)); done <"$f"
  done
  echo
  echo "all suites: $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}

layering() {
  echo "=== no folder includes from a floor above it"
  if "$PEN_ROOT/scripts/check-includes.sh"; then count layering 1 0; else count layering 0 1; fi
}

if [ -n "$quick" ]; then
  stage layering layering
  stage native-build build native && stage native-tests native_tests
  report
  exit
fi

readme_commands() {
  echo "=== the README's commands understand their arguments"
  if "$PEN_ROOT/scripts/check-readme-commands.sh"; then count readme 1 0; else count readme 0 1; fi
}

stage readme readme_commands
stage layering layering
# The Windows suites wait on real time (programs, recordings, windows): each
# runs in the background as soon as it is built, while the CPU builds,
# fuzzes and boots the qemu guests. The Wine prefix is made meanwhile too.
pen_xvfb_start
pen_wine_env
stage_bg wine-prefix pen_wine_prefix
native_ok=
if stage native-build build native; then
  native_ok=1
  # Half of the native tests' time is their processes starting and a few
  # seconds of counting wake-ups: the next build fills it.
  stage_bg native-tests native_tests
  stage_bg penmac-kernel penmac_kernel
fi
stage_join wine-prefix
win64_ok=
stage win64-build build win64 && win64_ok=1 && stage_bg win64-tests one_wine_suite win64_tests
if stage win32-build build win32; then
  stage_bg win32-tests one_wine_suite win32_tests
  if [ -n "$win64_ok" ]; then
    if [ -n "$PEN_WINE32_OK" ] && [ -z "${PEN_WINE32_GUEST:-}" ]; then
      stage_bg installer installer_tests
    else
      stage_bg installer one_wine_suite installer_tests
    fi
  fi
fi
[ -n "$native_ok" ] && stage fuzz fuzz
if stage gcc-build build gcc; then
  stage_bg package package_tests
  stage gcc-tests gcc_tests
fi
stage_join native-tests
stage_join penmac-kernel
stage_join win64-tests
stage_join win32-tests
stage_join installer
stage_join package
pen_wine_stop
pen_xvfb_stop

report
