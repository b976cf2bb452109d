#!/usr/bin/env bash
# CTest's emulator for the Windows builds: the program under Wine, with the
# prefix and settings of scripts/lib.sh.
#
# With PEN_WINE_ISOLATE=NAME (set by CTest for the end-to-end runs) the
# program gets a Wine of its own: a copy of the prefix, hence its own
# wineserver, and its own X display. penhost's single-instance rule, the
# focus and the foreground are then private to the run, so such runs can go
# side by side instead of one after another.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
pen_wine_env
[ -f "$WINEPREFIX/.pen-ready" ] || pen_wine_prefix
# PEN_WINE_SHARED: one Wine for all, the runs one after another (the 32-bit
# qemu guest, whose one emulated processor would only be shared out thinner).
[ -n "${PEN_WINE_ISOLATE:-}" ] && [ -z "${PEN_WINE_SHARED:-}" ] || exec "$PEN_WINE" "$@"

# The prefix is copied while other tests use it: a copy that met one of
# their changes half-way is made once more before the test counts as failed.
shared=$WINEPREFIX outer_xvfb=${PEN_XVFB_PID:-}
pen_wine_isolated "$PEN_WINE_ISOLATE" || {
  [ "${PEN_XVFB_PID:-}" != "$outer_xvfb" ] && pen_xvfb_stop   # only a display of its own
  export WINEPREFIX=$shared PEN_XVFB_PID=$outer_xvfb
  pen_wine_isolated "$PEN_WINE_ISOLATE"
} || { echo "wine-run: no private Wine for $PEN_WINE_ISOLATE" >&2; exit 125; }
"$PEN_WINE" "$@"
rc=$?
pen_wine_isolated_end
exit $rc
