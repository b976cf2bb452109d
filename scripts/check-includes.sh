#!/usr/bin/env bash
# Fails when a folder includes from a floor above it, or when portable code
# includes platform code (win32/, linux/, and the Qt desktop shell qt/). The
# floors, lowest first: a folder may include its
# own files and those of the floors listed for it, nothing else. Programs
# (app/), tests, benchmarks and fuzz targets stand on top and may include
# anything, but nothing includes them.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A may=(
  [common]="common"
  [pipeline]="common pipeline"
  [keys]="common pipeline keys"
  [service]="common pipeline keys service"
  [ui]="common pipeline keys service ui"
  [mac]="common pipeline mac"
  [inkprobe]="common inkprobe"
  [padlink]="common padlink"
  [wintab]="common pipeline wintab"
)
top="app tests bench fuzz tools"

bad=0
complain() { echo "check-includes: $1" >&2; bad=1; }

# One pass of grep over every source file: "file:included/path.h" per line.
while IFS= read -r line; do
  f=${line%%:*}
  inc=${line#*:}; inc=${inc#*\"}; inc=${inc%%\"*}
  floor=${f%%/*}
  [ "$floor" = "$f" ] && continue   # a file at the root
  if [[ " $top " == *" $floor "* ]]; then
    allowed=""
  elif [ -n "${may[$floor]:-}" ]; then
    allowed=${may[$floor]}
  else
    complain "$f: folder '$floor' has no floor; add it to scripts/check-includes.sh"
    continue
  fi
  portable=1
  [[ "/$f" == */win32/* || "/$f" == */linux/* || "/$f" == */qt/* || " $top " == *" $floor "* ]] && portable=0
  target=${inc%%/*}
  [ "$target" = "$inc" ] && continue   # a file beside this one
  [ -d "$target" ] || continue          # a system or library header
  if [[ " $top " == *" $target "* ]]; then
    [[ " $top " == *" $floor "* ]] || complain "$f includes $inc: nothing below the programs and tests may include them"
    continue
  fi
  if [ -n "$allowed" ] && [[ " $allowed " != *" $target "* ]]; then
    complain "$f includes $inc: '$floor' may include only: $allowed"
  fi
  if [ $portable -eq 1 ] && [[ "$inc" == */win32/* || "$inc" == */linux/* || "$inc" == */qt/* ]]; then
    complain "$f includes $inc: portable code includes no platform code"
  fi
  # The Qt desktop shell (qt/) stays free of the Linux layer, so that another
  # platform's layer can carry it too.
  if [[ "/$f" == */win32/* && "$inc" == */linux/* ]] || [[ "/$f" == */linux/* && "$inc" == */win32/* ]] ||
     [[ "/$f" == */qt/* && ( "$inc" == */linux/* || "$inc" == */win32/* ) ]] || [[ "/$f" == */linux/* && "$inc" == */qt/* ]]; then
    complain "$f includes $inc: one platform's code does not include another's"
  fi
done < <(git ls-files -z '*.cpp' '*.h' '*.hpp' '*.cc' | xargs -0 grep -H '^[[:space:]]*#[[:space:]]*include[[:space:]]*"')

[ $bad -eq 0 ] && echo "check-includes: every folder includes only from its own floor and those below"
exit $bad
