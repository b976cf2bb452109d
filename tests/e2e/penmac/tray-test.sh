#!/usr/bin/env bash
# penmac's status item in a real system tray: a private Xvfb, trayer as the
# tray host, and penmac replaying a session instead of a tablet. Checks that
# the icon is embedded in the tray, that a click on it opens the menu, and
# the menu's rows with a tablet and without one (penmac --verbose prints the
# rows of each menu it opens). Prints the time from start to the embedded
# icon.
#   tray-test.sh PENMAC
set -uo pipefail
penmac=${1:?usage: tray-test.sh PENMAC}
source "$(dirname "${BASH_SOURCE[0]}")/../../../scripts/lib.sh"
for tool in Xvfb trayer xdotool xwininfo; do
  command -v "$tool" >/dev/null || { echo "tray-test: $tool is missing (scripts/setup.sh)"; exit 1; }
done

work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  pen_xvfb_stop
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  for f in "$work"/*.log; do [ -e "$f" ] && { echo "--- $f"; cat "$f"; }; done
  exit 1
}
# waits up to $1 tenths of a second for the command after it to succeed
await() {
  local n=$1
  shift
  for ((i = 0; i < n; i++)); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
PEN_FORCE_XVFB=1 pen_xvfb_start || fail "no Xvfb"
export XDG_RUNTIME_DIR=$work/runtime && mkdir -m 700 "$XDG_RUNTIME_DIR"
# No session bus: Qt's status item takes the X11 tray (XEmbed) that trayer is.
unset DBUS_SESSION_BUS_ADDRESS
trayer --edge top --align right --widthtype request --height 24 --transparent false --tint 0xffffff \
  >"$work/trayer.log" 2>&1 &
pids+=($!)
await 100 sh -c 'xwininfo -root -tree | grep -q "(\"panel\" \"trayer\")"' || fail "trayer's panel did not appear"

# The icon: a window of class penmac inside trayer's panel. Prints its
# centre in root coordinates.
icon_centre() {
  xwininfo -root -tree | awk '
    /\("panel" "trayer"\)/ { inpanel = 1; next }
    inpanel && /\("penmac" "penmac"\)/ {
      n = split($0, f, " "); geo = f[n - 1]; abs = f[n]
      split(geo, wh, "[x+]"); split(abs, xy, "+")
      printf "%d %d\n", xy[2] + wh[1] / 2, xy[3] + wh[2] / 2; found = 1; exit
    }
    END { exit !found }'
}

# run NAME RECORDING: starts penmac; sets $pm and $log.
run() {
  log=$work/$1.log
  printf '%b' "$2" >"$work/$1.txt"
  local start=$(date +%s%N)
  "$penmac" --replay "$work/$1.txt" --dry-run --verbose --config-dir "$work/config" --exit-after 60 \
    >"$log" 2>&1 &
  pm=$!
  pids+=("$pm")
  await 200 icon_centre >/dev/null || fail "$1: no penmac icon in the tray"
  echo "$1: icon in the tray $(( ($(date +%s%N) - start) / 1000000 )) ms after start"
}

# open_menu NAME: clicks the icon; the menu's rows as penmac printed them.
open_menu() {
  local before=$(grep -c '^penmac: menu:' "$log")
  read -r x y < <(icon_centre)
  xdotool mousemove "$x" "$y" click 1
  await 50 sh -c "[ \$(grep -c '^penmac: menu:' '$log') -gt $before ]" || fail "$1: a click on the icon opened no menu"
  grep '^penmac: menu:' "$log" | tail -n 1 | sed 's/^penmac: menu: //'
  # The menu is on screen: a popup window of penmac's, mapped.
  xwininfo -root -tree | grep -q '"penmac": ("penmac" "penmac").*[0-9]x[0-9]' || fail "$1: no menu window"
  xdotool key Escape
}

expect_rows() {
  [ "$2" = "$3" ] || fail "$1: the menu reads
  $2
instead of
  $3"
  echo "$1: menu ok: $2"
}

# With a tablet: it connects at once; its name heads the menu.
run plugged 'device version 0x2201 product "[R711]Pen Tablet"\n+50 B 07 04 00 04 00 07 08 05 AA 00 00 FF 33 00 00\nwait 60000\n'
await 100 grep -q 'tablet connected' "$log" || fail "plugged: the replayed tablet did not connect"
rows=$(open_menu plugged)
expect_rows plugged "$rows" \
  "[R711]Pen Tablet | Draw Panel | --- | Screens Select | Tablet Rotate | Button Binding | Save Config | --- | About | Exit Driver!"
# A signal ends it cleanly, status 0, with the model's closing line.
kill -TERM "$pm"
wait "$pm"
rc=$?
[ "$rc" -eq 0 ] || fail "plugged: SIGTERM ended penmac with status $rc"
grep -q 'reports, .* events in' "$log" || fail "plugged: penmac did not end through its own shutdown"
echo "plugged: SIGTERM ends it with status 0"

# Without a tablet.
run unplugged 'start unplugged\nwait 60000\n'
rows=$(open_menu unplugged)
expect_rows unplugged "$rows" \
  "Tablet Disconnected! | Draw Panel | --- | Screens Select (disabled) | Tablet Rotate (disabled) | Button Binding (disabled) | Save Config (disabled) | --- | About | Exit Driver!"
kill -TERM "$pm"
wait "$pm" || fail "unplugged: status $?"
echo "PENMAC-TRAY PASS"
