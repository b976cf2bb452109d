#!/usr/bin/env bash
# CTest's emulator for the Windows builds: the program under Wine, with the
# prefix and settings of scripts/lib.sh.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
pen_wine_env
[ -f "$WINEPREFIX/.pen-ready" ] || pen_wine_prefix
exec "$PEN_WINE" "$@"
