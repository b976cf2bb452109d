#!/usr/bin/env bash
# The driver as a user would see it: builds penhost.exe, runs it under Wine
# against the virtual tablet playing the built-in demonstration session, and
# shows what the driver did. Ends by itself. Safe to run again.
#   --show-settings[=PNG]  also opens the settings window during the
#                          demonstration and saves a picture of it (default
#                          build/win64/settings-window.png)
#   --show-key-setup[=PNG] instead opens, from the settings window, the
#                          key-setup window of the tablet's model and saves a
#                          picture of it (default build/win64/key-setup.png);
#                          the tablet then only sits there
#   --model=CODE           with --show-key-setup: the model the tablet says it
#                          is (default R711; R766 has the ring)
#   --show-screen-mapping[=PNG]  opens the settings window and from it the
#                          screen mapping window, and saves a picture of the
#                          latter (default build/win64/screen-mapping-window.png)
#   --show-wheel[=PNG]     a wheel model (an R766) whose wheel centre is held
#                          half a second: the wheel settings window opens, and
#                          a picture of it (default build/win64/wheel-settings.png)
#   --show-notice[=PNG]    the same model with two wheel steps in Zoom: a
#                          picture of the notice while it is up (default
#                          build/win64/wheel-notice.png)
#   --dry-run              only checks the arguments: nothing is installed,
#                          built or run
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$PEN_ROOT"

show_settings=
picture=
show_keys=
keys_picture=
model=R711
show_mapping=
mapping_picture=
show_wheel=
wheel_picture=
show_notice=
notice_picture=
dry_run=
for arg in "$@"; do
  case $arg in
    --show-settings) show_settings=1 ;;
    --show-settings=?*) show_settings=1; picture=$(realpath -m "${arg#*=}") ;;
    --show-key-setup) show_keys=1 ;;
    --show-key-setup=?*) show_keys=1; keys_picture=$(realpath -m "${arg#*=}") ;;
    --model=?*) model=${arg#*=} ;;
    --show-screen-mapping) show_mapping=1 ;;
    --show-screen-mapping=?*) show_mapping=1; mapping_picture=$(realpath -m "${arg#*=}") ;;
    --show-wheel) show_wheel=1 ;;
    --show-wheel=?*) show_wheel=1; wheel_picture=$(realpath -m "${arg#*=}") ;;
    --show-notice) show_notice=1 ;;
    --show-notice=?*) show_notice=1; notice_picture=$(realpath -m "${arg#*=}") ;;
    --dry-run) dry_run=1 ;;
    *) echo "run: unknown argument $arg (known: --show-settings[=PNG] --show-key-setup[=PNG] --model=CODE" \
            "--show-screen-mapping[=PNG] --show-wheel[=PNG] --show-notice[=PNG] --dry-run)" >&2; exit 2 ;;
  esac
done
if [ -n "$show_keys" ] && [ -n "$show_settings$show_mapping" ]; then
  echo "run: --show-key-setup takes the whole run; leave out --show-settings and --show-screen-mapping" >&2; exit 2
fi
if [ -n "$show_wheel$show_notice" ] && [ -n "$show_keys$show_settings$show_mapping" ]; then
  echo "run: --show-wheel and --show-notice take the whole run; leave out the other windows" >&2; exit 2
fi
if [ -n "$show_wheel" ] && [ -n "$show_notice" ]; then
  echo "run: one of --show-wheel and --show-notice at a time" >&2; exit 2
fi
case $model in
  *[!A-Za-z0-9]*|'') echo "run: --model takes a model code of letters and digits, not '$model'" >&2; exit 2 ;;
esac
if [ -n "$dry_run" ]; then
  what="the demonstration"
  [ -z "$show_settings" ] || what+=", the settings window (picture: ${picture:-default})"
  [ -z "$show_keys" ] || what+=", the key-setup window of an $model (picture: ${keys_picture:-default})"
  [ -z "$show_mapping" ] || what+=", the screen mapping window (picture: ${mapping_picture:-default})"
  [ -z "$show_wheel" ] || what+=", the wheel settings window (picture: ${wheel_picture:-default})"
  [ -z "$show_notice" ] || what+=", the wheel's notice (picture: ${notice_picture:-default})"
  echo "run: would run $what; nothing done (--dry-run)" >&2
  exit 0
fi
"$PEN_ROOT/scripts/setup.sh"

SECONDS_TO_RUN=${PEN_RUN_SECONDS:-8}
build=${PEN_RUN_BUILD:-$PEN_ROOT/build/win64}
echo "run: building penhost.exe (win64) in $build" >&2
log=$(mktemp)
if ! { cmake --preset win64 -B "$build" && cmake --build "$build" --target penhost -- -j2; } >"$log" 2>&1; then
  tail -n 40 "$log"; rm -f "$log"; exit 1
fi
rm -f "$log"

# A headless machine has no sound card: Wine's ALSA driver would only print
# its complaints; without it the volume functions are quietly inactive.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml,winealsa.drv=;winedbg.exe=d"}
# The shared helpers return the status of their last probe; not an error here.
# The display comes first: Wine's background programs, started with the
# prefix, keep the display they were started with.
set +e
started_xvfb=
if [ -z "${DISPLAY:-}" ]; then pen_xvfb_start && started_xvfb=1; fi
pen_wine_prefix
set -e
# The prefix's server was started persistent, so it never ends by itself: stop
# it, and with it Wine's background programs, before their display goes.
trap 'if [ -n "$started_xvfb" ]; then pen_wine_stop || true; pen_xvfb_stop || true; fi' EXIT

trace=$build/penhost-trace.txt
features=$build/penhost-features.txt
rm -f "$trace" "$features"
window_args=()
if [ -n "$show_settings" ]; then
  picture=${picture:-$build/settings-window.png}
  rm -f "$build/app/settings-window.png"
  window_args=(--show-settings=settings-window.png)
fi
tablet_arg=--virtual-tablet
if [ -n "$show_keys" ]; then
  keys_picture=${keys_picture:-$build/key-setup.png}
  rm -f "$build/app/key-setup.png"
  window_args=(--show-key-setup=key-setup.png)
  # A tablet of that model that only sits there: no pen moves the pointer
  # over the window while its picture is taken.
  printf 'device version 0x2201 product "[%s]Pen Tablet"\nwait 60000\n' "$model" >"$build/app/key-setup-session.txt"
  tablet_arg=--virtual-tablet=key-setup-session.txt
fi
if [ -n "$show_mapping" ]; then
  mapping_picture=${mapping_picture:-$build/screen-mapping-window.png}
  rm -f "$build/app/screen-mapping-window.png"
  window_args+=(--show-screen-mapping=screen-mapping-window.png)
fi
# The wheel's windows: an R766, whose key 11 is the wheel's centre (key word
# bit 10) and whose wheel steps come in the same packets.
wheel_packet() { printf '+%s A 08 80 FF %s %s %s 00 00 00 00\n' "$1" "$2" "$3" "$4"; }
if [ -n "$show_wheel" ]; then
  wheel_picture=${wheel_picture:-$build/wheel-settings.png}
  rm -f "$build/service/wheel-settings.png"
  window_args=(--show-wheel=wheel-settings.png)
  { printf 'device version 0x2201 product "[R766]Pen Tablet"\n'
    wheel_packet 2500 00 00 04; wheel_packet 500 00 00 00; echo 'wait 60000'; } >"$build/service/wheel-session.txt"
  tablet_arg=--virtual-tablet=wheel-session.txt
fi
if [ -n "$show_notice" ]; then
  notice_picture=${notice_picture:-$build/wheel-notice.png}
  rm -f "$build/service/wheel-notice.png" "$build/service/TabletWheel.ini"
  window_args=(--show-notice=wheel-notice.png)
  # Zoom alone enabled, with its usual keys.
  printf '[EnableItem]\r\nMouseWheelEnabled=0\r\nZoomEnabled=1\r\nRotateCanvasEnabled=0\r\nUndoRedoEnabled=0\r\nVolumeEnabled=0\r\n[KeyDefine]\r\nZoomRLeft.extraKey=1\r\nZoomRLeft.MainKey=189\r\nZoomRRight.extraKey=1\r\nZoomRRight.MainKey=187\r\n' \
    >"$build/service/TabletWheel.ini"
  { printf 'device version 0x2201 product "[R766]Pen Tablet"\n'
    wheel_packet 2500 01 00 00; wheel_packet 200 01 00 00; echo 'wait 60000'; } >"$build/service/wheel-session.txt"
  tablet_arg=--virtual-tablet=wheel-session.txt
fi
echo "run: penhost.exe $tablet_arg --trace ${window_args[*]} for ${SECONDS_TO_RUN} s after start-up" >&2
(cd "$build/app" && "$PEN_WINE" ./penhost.exe "$tablet_arg" --trace="$(basename "$trace")" \
  --feature-log="$(basename "$features")" --exit-after="$SECONDS_TO_RUN" --no-launch "${window_args[@]}") </dev/null
mv -f "$build/app/$(basename "$trace")" "$trace" 2>/dev/null || true
mv -f "$build/app/$(basename "$features")" "$features" 2>/dev/null || true

[ -s "$trace" ] || { echo "run: penhost.exe left no trace" >&2; exit 1; }
# keep_picture SAVED DESTINATION WINDOW: moves the picture penhost.exe saved.
keep_picture() {
  if [ -s "$build/app/$1" ]; then
    mkdir -p "$(dirname "$2")"
    mv -f "$build/app/$1" "$2"
  else
    echo "run: the $3 window's picture was not saved" >&2; exit 1
  fi
}
[ -z "$show_settings" ] || keep_picture settings-window.png "$picture" settings
[ -z "$show_keys" ] || keep_picture key-setup.png "$keys_picture" key-setup
[ -z "$show_mapping" ] || keep_picture screen-mapping-window.png "$mapping_picture" "screen mapping"
[ -z "$show_wheel" ] || keep_picture wheel-settings.png "$wheel_picture" "wheel settings"
[ -z "$show_notice" ] || keep_picture wheel-notice.png "$notice_picture" notice
# The run's own wheel settings go with it.
[ -z "$show_notice$show_wheel" ] || rm -f "$build/service/TabletWheel.ini"

# The trace has a line per report and per pointer move; show the first few
# of those and everything else.
echo
echo "=== what the driver did (full trace: $trace)"
awk '
  /pointer move/ { if (++moves <= 3) print; else if (moves == 4) print "            ... further pointer moves"; next }
  /report B #/   { if (++b <= 3) print; else if (b == 4) print "            ... further digitizer reports"; next }
  { print }
  END {
    printf "\ndigitizer reports handled: %d, pointer moves: %d\n", b, moves
  }' "$trace"
# A count of 0 is an answer, not a failure.
{ grep -c "left button down" "$trace" || true; } | sed 's/^/left button presses: /'
{ grep -c "report A #" "$trace" || true; } | sed 's/^/vendor packets handled: /'
echo
echo "=== what the tablet keys and the wheel did"
grep -E "tablet button|pen button|soft key|wheel (step|centre|[A-Z][a-zA-Z]+ (left|right))|key (down|up):|wheel notch|program |definitions" "$trace" ||
  echo "(nothing)"
echo
echo "=== feature reports the tablet received (ms, bytes: $features)"
cat "$features"
if [ -n "$show_settings" ]; then
  echo
  echo "=== the settings window, as it looked during the demonstration: $picture"
fi
if [ -n "$show_keys" ]; then
  echo
  echo "=== the key-setup window of an $model: $keys_picture"
fi
if [ -n "$show_mapping" ]; then
  echo
  echo "=== the screen mapping window, as it looked during the demonstration: $mapping_picture"
fi
