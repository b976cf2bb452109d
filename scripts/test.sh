#!/usr/bin/env bash
# Every test suite: native (g++ with ASan/UBSan, clang), penmac against a
# real kernel under qemu, bounded fuzz runs, and the Windows builds under
# wine64 and wine32 (in a qemu guest where this kernel cannot run 32-bit
# programs; PEN_WINE32_GUEST=1 forces the guest).
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$PEN_ROOT"
"$PEN_ROOT/scripts/setup.sh" || exit 1

# Eleven targets and growing: 10 s each keeps the whole command within its time; the
# corpora carry what earlier runs found.
FUZZ_SECONDS=${FUZZ_SECONDS:-10}
log=$(mktemp -d)
passed=0; failed=0; status=0

# Adds one ctest run's counts to the totals.
tally() {
  local out=$1 line p t
  line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$out" | tail -n 1)
  if [ -z "$line" ]; then failed=$((failed + 1)); status=1; return; fi
  t=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
  p=$(sed -E 's/.*, ([0-9]+) tests? failed.*/\1/' <<<"$line")
  passed=$((passed + t - p)); failed=$((failed + p))
  [ "$p" -eq 0 ] || status=1
}

# Configures and builds PRESET; a failure is shown and counted.
build() {
  local preset=$1
  if ! cmake --preset "$preset" >"$log/$preset.configure" 2>&1; then
    cat "$log/$preset.configure"; failed=$((failed + 1)); status=1; return 1
  fi
  if ! cmake --build --preset "$preset" >"$log/$preset.build" 2>&1; then
    tail -n 60 "$log/$preset.build"; failed=$((failed + 1)); status=1; return 1
  fi
}

# run_tests PRESET COMMAND...: a ctest run (COMMAND may wrap it); shows what
# did not pass and counts the results. Returns COMMAND's status.
run_tests() {
  local preset=$1; shift
  "$@" 2>&1 | tee "$log/$preset.test" | grep -v -E '^ *(Start +[0-9]+:|[0-9]+/[0-9]+ Test +#[0-9]+: .* Passed)' | tail -n 60
  local rc=${PIPESTATUS[0]}
  tally "$log/$preset.test"
  return "$rc"
}

suite() {  # suite PRESET [ctest args]: configure, build, test
  local preset=$1; shift
  echo "=== $preset"
  build "$preset" || return
  run_tests "$preset" ctest --preset "$preset" "$@"
}

# The 32-bit Windows programs run under wine32, which needs a kernel that
# executes 32-bit code. Where this one cannot (or PEN_WINE32_GUEST is set),
# the whole suite runs in a qemu guest booting a kernel that can.
suite_win32() {
  if [ -n "$PEN_WINE32_OK" ] && [ -z "${PEN_WINE32_GUEST:-}" ]; then
    suite win32
    return
  fi
  echo "=== win32 (in a qemu guest: $([ -n "$PEN_WINE32_OK" ] && echo "PEN_WINE32_GUEST is set" || echo "this kernel cannot start 32-bit programs"))"
  build win32 || return
  run_tests win32 "$PEN_ROOT/scripts/wine32-guest.sh" -w build/win32 ctest --preset win32
  if [ $? -eq 125 ]; then
    echo "win32: FAILED: wine32 cannot run on this kernel and the qemu guest that would run it did not (see above)"
  fi
}

fuzz() {
  echo "=== fuzz (${FUZZ_SECONDS} s each)"
  local f name corpus
  for f in build/native-clang/fuzz/*_fuzz; do
    [ -x "$f" ] || continue
    name=$(basename "$f")
    corpus=build/native-clang/corpus/$name
    mkdir -p "$corpus"
    [ -d "fuzz/corpus/$name" ] && cp -n fuzz/corpus/"$name"/* "$corpus"/ 2>/dev/null
    if "$f" -max_total_time="$FUZZ_SECONDS" -print_final_stats=0 -artifact_prefix="$log/$name-" "$corpus" >"$log/$name.log" 2>&1; then
      echo "fuzz $name: ok ($(grep -c . "$corpus"/* 2>/dev/null | wc -l) inputs in corpus)"
      passed=$((passed + 1))
    else
      echo "fuzz $name: FAILED"; tail -n 40 "$log/$name.log"
      failed=$((failed + 1)); status=1
    fi
  done
}

# penmac against a real kernel: qemu boots Debian's kernel with uhid and
# uinput and runs the guest check on the native build's programs.
penmac_kernel() {
  echo "=== penmac against a real kernel (qemu, TCG)"
  if "$PEN_ROOT/scripts/penmac-kernel-test.sh" "$PEN_ROOT/build/native" >"$log/penmac-kernel.log" 2>&1; then
    grep -E '^FAIL|woke|PENMAC-KERNEL' "$log/penmac-kernel.log"
    passed=$((passed + 1))
  else
    tail -n 60 "$log/penmac-kernel.log"
    failed=$((failed + 1)); status=1
  fi
}

bench() {
  echo "=== bench (build only; figures come from scripts/bench.sh)"
  build bench && passed=$((passed + 1))
}

suite native
penmac_kernel
suite native-clang
fuzz
bench
# The Windows suites on this machine share a display and the prefix's
# services; the 32-bit guest brings its own.
pen_xvfb_start
pen_wine_prefix
suite win64
suite_win32
pen_wine_stop
pen_xvfb_stop

echo
echo "all suites: $passed passed, $failed failed"
exit $status
