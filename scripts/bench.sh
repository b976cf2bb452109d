#!/usr/bin/env bash
# The per-stage benchmarks, optimised build; then the service's CPU under Wine
# against a floor program (scripts/bench-cpu.sh, a few minutes; skipped with
# PEN_BENCH_CPU=0).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$PEN_ROOT"
"$PEN_ROOT/scripts/setup.sh"
cmake --preset gcc >/dev/null && cmake --build --preset gcc >/dev/null
build/gcc/bench/pen_bench "$@"
if [ "${PEN_BENCH_CPU:-1}" != 0 ]; then "$PEN_ROOT/scripts/bench-cpu.sh"; fi
