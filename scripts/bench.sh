#!/usr/bin/env bash
# The per-stage benchmarks, optimised build.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$PEN_ROOT"
"$PEN_ROOT/scripts/setup.sh"
cmake --preset bench >/dev/null && cmake --build --preset bench >/dev/null
exec build/bench/bench/pen_bench "$@"
