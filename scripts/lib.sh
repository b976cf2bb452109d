# Shared by the run and test scripts: paths, Wine and a headless display.
PEN_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# One Wine prefix inside the build folder serves the 64- and 32-bit programs.
# The 32-bit guest (scripts/wine32-guest.sh) brings its own 32-bit prefix.
pen_wine_env() {
  export WINEPREFIX=${PEN_WINEPREFIX:-$PEN_ROOT/build/wine-prefix}
  export WINEARCH=${PEN_WINEARCH:-win64} WINEDEBUG=${WINEDEBUG:--all}
  # No Mono/Gecko installers, and a crash exits with a backtrace instead of
  # waiting for ever in winedbg.
  export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml=;winedbg.exe=d"}
  # Debian's `wine` starts the 32-bit loader first whenever wine32 is
  # installed; on a kernel without 32-bit support that fails before any
  # program runs. The 64-bit loader runs 64-bit programs on every kernel.
  if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    PEN_WINE=wine
    PEN_WINE32_OK=1
  else
    PEN_WINE=/usr/lib/wine/wine64
    PEN_WINE32_OK=
    export WINELOADER=/usr/lib/wine/wine64
  fi
}

pen_wine_prefix() {
  pen_wine_env
  if [ ! -f "$WINEPREFIX/.pen-ready" ]; then
    mkdir -p "$WINEPREFIX"
    echo "wine: creating prefix $WINEPREFIX" >&2
    "$PEN_WINE" wineboot -i >/dev/null 2>&1 || true
    "$PEN_WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    wineserver -w </dev/null >/dev/null 2>&1
    touch "$WINEPREFIX/.pen-ready"
  fi
  # Wine's own fonts have no Chinese glyphs: the dialog font (Tahoma) borrows
  # them from the system's Chinese font, as Windows' font linking does.
  if [ ! -f "$WINEPREFIX/.pen-fonts" ] && [ -f /usr/share/fonts/truetype/wqy/wqy-microhei.ttc ]; then
    "$PEN_WINE" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v Tahoma \
      /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei\0SIMSUN.TTC,SimSun\0MINGLIU.TTC,PMingLiU' /f \
      </dev/null >/dev/null 2>&1
    wineserver -w </dev/null >/dev/null 2>&1
    touch "$WINEPREFIX/.pen-fonts"
  fi
  # Start Wine's background services now: started by the first program of a
  # test run they would hold its output pipe and hang the runner.
  wineserver -p </dev/null >/dev/null 2>&1
  "$PEN_WINE" cmd /c exit </dev/null >/dev/null 2>&1 || true
}

# pen_wine_isolated NAME: this shell's Wine becomes a private one: a copy
# of the prefix (its programs and tables hard-linked, as no program writes
# them; the registry and settings files copied), so its own wineserver, with
# the services started, and an X display of its own.
pen_wine_isolated() {
  local template=$WINEPREFIX copy err
  copy=$(dirname "$template")/wine-isolated/$1
  WINEPREFIX=$copy wineserver -k </dev/null >/dev/null 2>&1
  # Tests that share the prefix run meanwhile and make and remove their
  # temporary files in it: a file that is gone by the time it is copied is
  # one this copy does not need; any other failure to copy is one.
  rm -rf "$copy" && mkdir -p "$(dirname "$copy")" || return 1
  err=$(cp -al "$template" "$copy" 2>&1) || ! grep -qv 'No such file or directory' <<<"$err" || { echo "$err" >&2; return 1; }
  (cd "$copy" && find . -type f ! \( -iname '*.dll' -o -iname '*.exe' -o -iname '*.nls' -o -iname '*.drv' \
      -o -iname '*.sys' -o -iname '*.vxd' -o -iname '*.ocx' -o -iname '*.cpl' -o -iname '*.acm' -o -iname '*.tlb' \
      -o -iname '*.ds' -o -iname '*.ax' -o -iname '*.com' \) -print0 | xargs -0r -n 64 sh -c '
    for f; do
      cp --remove-destination "$0/$f" "$f" 2>/dev/null || [ ! -e "$0/$f" ] ||
        cp --remove-destination "$0/$f" "$f" || exit 1
    done' "$template") || { echo "wine-run: the prefix could not be copied" >&2; return 1; }
  export WINEPREFIX=$copy
  PEN_ISOLATED_PREFIX=$copy
  PEN_XVFB_PID=
  PEN_FORCE_XVFB=1 pen_xvfb_start || return 1
  wineserver -p </dev/null >/dev/null 2>&1
  "$PEN_WINE" cmd /c exit </dev/null >/dev/null 2>&1 || true
}

pen_wine_isolated_end() {
  wineserver -k </dev/null >/dev/null 2>&1
  pen_xvfb_stop
  [ -n "${PEN_ISOLATED_PREFIX:-}" ] && rm -rf "$PEN_ISOLATED_PREFIX"
}

pen_wine_stop() {
  pen_wine_env
  wineserver -k 2>/dev/null || true
}

# A private X server when none is given; the tray icon and windows need one.
# Xvfb picks a free display number itself (-displayfd), so runs that start
# side by side never share one.
pen_xvfb_start() {
  if [ -n "${DISPLAY:-}" ] && [ -z "${PEN_FORCE_XVFB:-}" ]; then return 0; fi
  local fifo n
  fifo=$(mktemp -u "${TMPDIR:-/tmp}/pen-xvfb.XXXXXX") && mkfifo "$fifo" || return 1
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  PEN_XVFB_PID=$!
  n=$(timeout 30 head -n 1 "$fifo")
  rm -f "$fifo"
  if [ -z "$n" ]; then
    kill "$PEN_XVFB_PID" 2>/dev/null
    echo "no X display could be started" >&2
    return 1
  fi
  export DISPLAY=":$n"
}

pen_xvfb_stop() {
  [ -n "${PEN_XVFB_PID:-}" ] && kill "$PEN_XVFB_PID" 2>/dev/null || true
}

# ccache: paths inside the tree are hashed relative to it, so another clone
# (a CI run, a second work tree) hits what this one compiled.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PEN_ROOT} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-true}
