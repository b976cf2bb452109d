#!/usr/bin/env bash
# Every test suite: native (g++ with ASan/UBSan, clang), penmac against a
# real kernel under qemu, bounded fuzz runs, and the Windows builds under
# wine64 and wine32.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$PEN_ROOT"
"$PEN_ROOT/scripts/setup.sh" || exit 1

FUZZ_SECONDS=${FUZZ_SECONDS:-20}
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

suite() {  # suite PRESET [ctest args]: configure, build, test
  local preset=$1; shift
  echo "=== $preset"
  if ! cmake --preset "$preset" >"$log/$preset.configure" 2>&1; then
    cat "$log/$preset.configure"; failed=$((failed + 1)); status=1; return
  fi
  if ! cmake --build --preset "$preset" >"$log/$preset.build" 2>&1; then
    tail -n 60 "$log/$preset.build"; failed=$((failed + 1)); status=1; return
  fi
  ctest --preset "$preset" "$@" 2>&1 | tee "$log/$preset.test" | grep -v -E '^ *(Start +[0-9]+:|[0-9]+/[0-9]+ Test +#[0-9]+: .* Passed)' | tail -n 60
  tally "$log/$preset.test"
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

suite native
penmac_kernel
suite native-clang
fuzz

echo "=== bench (build only; figures come from scripts/bench.sh)"
if cmake --preset bench >"$log/bench.configure" 2>&1 && cmake --build --preset bench >"$log/bench.build" 2>&1; then
  passed=$((passed + 1))
else
  tail -n 40 "$log/bench.build" "$log/bench.configure"; failed=$((failed + 1)); status=1
fi

pen_xvfb_start
pen_wine_prefix
suite win64
if [ -n "$PEN_WINE32_OK" ]; then
  suite win32
else
  # Built all the same (warning-free, export table checked); only running
  # the 32-bit programs needs a kernel that executes 32-bit code.
  echo "note: this kernel cannot start 32-bit programs, so wine32 cannot run;"
  echo "      the win32 build is checked statically (label 'static') only."
  suite win32 -L static
fi
pen_wine_stop
pen_xvfb_stop

echo
echo "all suites: $passed passed, $failed failed"
exit $status
