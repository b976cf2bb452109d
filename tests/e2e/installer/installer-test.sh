#!/usr/bin/env bash
# The setup program end to end under Wine: each scenario in a fresh prefix
# (a private copy of the clean one, with its own wineserver and display), the
# three side by side.
#
#   tests/e2e/installer/installer-test.sh [SCENARIO...]
#
#   upgrade    silent install of an older version: files, registry, start
#              menu; PenHost started by the logon-start command serves the
#              virtual tablet; a silent install of this version over it
#              closes that PenHost and keeps the changed settings
#   holder     silent install while another program holds the Wintab library:
#              inkprobe.dll ends it and the new library is in place
#   uninstall  silent uninstall keeps only the user's settings; with
#              /KEEPSETTINGS=0 nothing is left
#   results    with a stand-in finder, setup's answer to its other results:
#              programs it could not end, an error, programs it ended
#   interactive  a user at the windows: declining changes nothing; an
#              install that starts PenHost from its last page
#
# Needs the win64 and win32 builds (scripts/make-installer.sh --no-build
# takes them as they are). The setup program is 32-bit: where this kernel
# cannot run 32-bit programs (or PEN_WINE32_GUEST is set) the scenarios run
# in the qemu guest of scripts/wine32-guest.sh, in its 32-bit Wine.
# Prints one line per scenario and "installer: N passed, N failed".
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../../scripts/lib.sh"
cd "$PEN_ROOT"

out=$PEN_ROOT/build/installer-test
here=
scenarios=()
for arg in "$@"; do
  case $arg in
    --here) here=1 ;;  # already where 32-bit programs run
    upgrade | holder | uninstall | results | interactive) scenarios+=("$arg") ;;
    *) echo "installer-test: unknown argument $arg (known: upgrade holder uninstall results interactive)" >&2; exit 2 ;;
  esac
done
[ ${#scenarios[@]} -gt 0 ] || scenarios=(upgrade holder uninstall results interactive)

OLD_VERSION=0.0.0.1
PRODUCT="Pen Tablet Driver"
UNINSTALL_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\pentablet'
RUN_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
INSTDIR_WIN="C:\\Program Files\\$PRODUCT"

built() { sed -n "s/^$2=//p" "build/$1/installer-files.txt" 2>/dev/null; }

failures=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1; shift
  if ! "$@"; then
    failures=$((failures + 1))
    echo "FAILED: $what"
  fi
}

# The setup program's version resource carries the project's version (the
# fixed part holds it as numbers), and its name the product's.
check_version_resource() {
  local hex fixed v=(${NEW_VERSION//./ }) name
  hex=$(od -An -tx1 -v "$out/setup-new.exe" | tr -d ' \n')
  # Signature FEEF04BD, the structure's version, then the file version as
  # two little-endian words (major<<16|minor, patch<<16|build).
  fixed=$(printf 'bd04effe[0-9a-f]{8}%02x%02x%02x%02x%02x%02x%02x%02x' $((v[1] & 255)) $((v[1] >> 8)) $((v[0] & 255)) \
    $((v[0] >> 8)) $((v[3] & 255)) $((v[3] >> 8)) $((v[2] & 255)) $((v[2] >> 8)))
  check "fixed file version $NEW_VERSION" grep -qE "$fixed" <<<"$hex"
  for name in "$NEW_VERSION" "$PRODUCT $NEW_VERSION Setup"; do
    check "version text $name" grep -q "$(printf '%s' "$name" | iconv -t UTF-16LE | od -An -tx1 -v | tr -d ' \n')" <<<"$hex"
  done
}

if [ -z "$here" ]; then
  # Setup programs from this build: an older version without a Wintab
  # library (as a build without one makes it); this version with a stand-in
  # library of both bitnesses, so that its replacement shows; and the same
  # with a stand-in finder.
  rm -rf "$out" && mkdir -p "$out"
  for preset in win64 win32; do
    [ -f "$(built $preset inkprobe_fake_wintab)" ] || { echo "installer-test: build $preset first (its test programs are missing)" >&2; exit 1; }
  done
  [ -f "$(built win32 installer_fake_finder)" ] && [ -f "$(built win32 installer-clicker)" ] || { echo "installer-test: build win32 first (its test programs are missing)" >&2; exit 1; }
  scripts/make-installer.sh --no-build --quick --version=$OLD_VERSION --out="$out/setup-old.exe" >"$out/make.log" 2>&1 &&
    scripts/make-installer.sh --no-build --quick --out="$out/setup-new.exe" \
      --wintab32="$(built win32 inkprobe_fake_wintab)" --wintab64="$(built win64 inkprobe_fake_wintab)" >>"$out/make.log" 2>&1 &&
    scripts/make-installer.sh --no-build --quick --out="$out/setup-fake-finder.exe" \
      --wintab32="$(built win32 inkprobe_fake_wintab)" --wintab64="$(built win64 inkprobe_fake_wintab)" \
      --inkprobe="$(built win32 installer_fake_finder)" >>"$out/make.log" 2>&1 ||
    { cat "$out/make.log"; echo "installer-test: the setup programs could not be built"; echo "installer: 0 passed, 1 failed"; exit 1; }
  NEW_VERSION=$(sed -nE 's/.*version ([0-9.]+), with.*/\1/p' "$out/make.log" | tail -n 1)
  echo "$NEW_VERSION" >"$out/new-version"
  cp "$(built win32 inkprobe-holder)" "$out/holder.exe"
  cp "$(built win32 installer-clicker)" "$out/clicker.exe"
  cp "$(built win32 inkprobe_fake_wintab)" "$out/old-wintab32.dll"
  # The old library differs from the new one by what follows its image.
  echo "OLD-WINTAB-LIBRARY" >>"$out/old-wintab32.dll"

  check_version_resource
  echo "installer version: $([ $failures -eq 0 ] && echo passed || echo FAILED)"
  echo $failures >"$out/version.failures"

  pen_wine_env
  if [ -z "$PEN_WINE32_OK" ] || [ -n "${PEN_WINE32_GUEST:-}" ]; then
    echo "(installer tests in the qemu guest: 32-bit programs do not run here)"
    exec "$PEN_ROOT/scripts/wine32-guest.sh" -w "$out" "$0" --here "${scenarios[@]}"
  fi
fi
NEW_VERSION=$(cat "$out/new-version")
pen_wine_env
pen_wine_prefix

# --- helpers, for one scenario's shell ---------------------------------------

w() { "$PEN_WINE" "$@" </dev/null; }
unix_path() { local p=${1#?:\\}; echo "$WINEPREFIX/drive_c/${p//\\//}"; }
# A registry value's data, or nothing when it is not there.
# `wine reg` may be the 32-bit reg.exe: the 64-bit view is asked for.
reg_value() {
  local view=()
  is_x64 && view=(/reg:64)
  w reg query "$1" /v "$2" "${view[@]}" 2>/dev/null | tr -d '\r' | sed -nE "s/^ +$2 +REG_[A-Z_]+ +//p"
}
is_x64() { [ -d "$WINEPREFIX/drive_c/windows/syswow64" ]; }
# The uninstaller, from a copy as it runs itself, but waited for: NSIS takes
# the folder (_?=) as the rest of the command line, unquoted, which a batch
# file passes as written. Its status is the uninstaller's.
uninstall() {
  cp "$INSTDIR/uninstall.exe" "$WINEPREFIX/drive_c/un.exe"
  printf '@C:\\un.exe %s /LOG=C:\\setup.log _?=%s\r\n@exit %%ERRORLEVEL%%\r\n' "$*" "$INSTDIR_WIN" \
    >"$WINEPREFIX/drive_c/un.bat"
  w cmd /c 'C:\un.bat' >/dev/null 2>&1
}
# Where the Wintab library of 32-bit programs lives, in Windows' terms.
sys32_win() { if is_x64; then echo 'C:\windows\syswow64'; else echo 'C:\windows\system32'; fi; }
pe_machine() {  # 8664 or 014c
  local pe
  pe=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  od -An -tx2 -j$((pe + 4)) -N2 "$1" | tr -d ' '
}
has() { [ -e "$1" ]; }
lacks() { [ ! -e "$1" ]; }
contains() { grep -aqF -- "$2" "$1" 2>/dev/null; }
same() { [ "$1" = "$2" ]; }
ini_value() { tr -d '\r' <"$1" | sed -nE "s/^$2=//p" | head -n 1; }
setup() {  # setup EXE ARG...: the setup program; its log is C:\setup.log
  w "$out/$1" /LOG='C:\setup.log' "${@:2}"
}
log() { cat "$WINEPREFIX/drive_c/setup.log" 2>/dev/null; }

INSTDIR=
installed_files=(penhost.exe padlink_vc.dll tabclient.exe LanSetup.ini TabletLan.txt LanName.txt PenShape.bmp Logo.bmp
  README.txt uninstall.exe)

check_installed() {  # check_installed VERSION
  local f rc machine=014c
  is_x64 && machine=8664
  for f in "${installed_files[@]}"; do check "$f installed" has "$INSTDIR/$f"; done
  check "penhost.exe is the $machine build" same "$(pe_machine "$INSTDIR/penhost.exe")" $machine
  check "uninstall entry: version $1" same "$(reg_value "$UNINSTALL_KEY" DisplayVersion)" "$1"
  check "uninstall entry: location" same "$(reg_value "$UNINSTALL_KEY" InstallLocation)" "$INSTDIR_WIN"
  check "uninstall entry: uninstaller" same "$(reg_value "$UNINSTALL_KEY" UninstallString)" "\"$INSTDIR_WIN\\uninstall.exe\""
  check "logon start" same "$(reg_value "$RUN_KEY" PenHost)" "\"$INSTDIR_WIN\\penhost.exe\""
  check "start-menu entry" has "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/$PRODUCT/PenHost.lnk"
}

check_wintab_installed() {
  local sys64=$WINEPREFIX/drive_c/windows/system32 sys32
  sys32=$(unix_path "$(sys32_win)")
  check "the 32-bit Wintab library is the new one" contains "$sys32/wintab32.dll" InkprobeFakeWintab
  check "no old library left" eval '! contains "$sys32/wintab32.dll" OLD-WINTAB-LIBRARY'
  check "the library in the 32-bit folder is 32-bit" same "$(pe_machine "$sys32/wintab32.dll")" 014c
  if is_x64; then
    check "the 64-bit Wintab library is in System32" contains "$sys64/wintab32.dll" InkprobeFakeWintab
    check "the library in System32 is 64-bit" same "$(pe_machine "$sys64/wintab32.dll")" 8664
  fi
}

# The logon-start command, with the virtual tablet, in the background;
# PENHOST_PID is Wine's process for it.
start_penhost_from_logon() {
  local command exe
  command=$(reg_value "$RUN_KEY" PenHost)
  exe=${command#\"}; exe=${exe%%\"*}
  "$PEN_WINE" "$exe" --virtual-tablet --trace='C:\penhost-trace.txt' </dev/null >/dev/null 2>&1 &
  PENHOST_PID=$!
}

# With the Windows Ink controls registered the finder looks at processes
# (in a fresh prefix they are not, and it ends at once with 100).
register_ink_controls() {
  local key
  for key in 'HKCR\InkEd.InkEdit\CLSID' 'HKCR\msinkaut.InkPicture\CLSID'; do
    w reg add "$key" /ve /d '{0A3C5E7B-1D2F-4B6A-9C8E-123456789ABC}' /f >/dev/null 2>&1
    is_x64 && w reg add "$key" /ve /d '{0A3C5E7B-1D2F-4B6A-9C8E-123456789ABC}' /reg:64 /f >/dev/null 2>&1
  done
}

# Under emulation (the qemu guest) everything takes several times longer.
PATIENCE=1
[ -n "$here" ] && PATIENCE=5

wait_for() {  # wait_for SECONDS COMMAND...
  local end=$((SECONDS + $1 * PATIENCE)); shift
  until "$@"; do
    [ $SECONDS -ge $end ] && return 1
    sleep 0.5
  done
}

# --- scenarios -----------------------------------------------------------------

scenario_upgrade() {
  setup setup-old.exe /S
  check "silent install exits 0" same $? 0
  check "without Windows Ink no process was looked at" contains "$WINEPREFIX/drive_c/setup.log" "Windows Ink is not installed"
  check_installed $OLD_VERSION
  check "the build's own library is installed" contains "$WINEPREFIX/drive_c/setup.log" "Installed the tablet library"
  check "the test library of the later setup is not there yet" eval "! contains \"$(unix_path "$(sys32_win)")/wintab32.dll\" InkprobeFakeWintab"

  start_penhost_from_logon
  local trace=$WINEPREFIX/drive_c/penhost-trace.txt
  check "PenHost from the logon start serves the virtual tablet" wait_for 60 contains "$trace" "tablet connected"
  check "it handles the pen reports" wait_for 30 contains "$trace" "report B #"
  # A user's changes: left-hand mode, and a language chosen in the window.
  check "PenHost wrote its settings beside itself" wait_for 10 has "$INSTDIR/TSetting.ini"
  sed -i 's/^LeftHandMode=0/LeftHandMode=1/' "$INSTDIR/TSetting.ini"
  sed -i -e 's/^UserSelectLan=[0-9]*/UserSelectLan=4/' -e 's/^UserSelectLanEnable=[0-9]*/UserSelectLanEnable=1/' \
    "$INSTDIR/LanSetup.ini"
  check "changed language in place" same "$(ini_value "$INSTDIR/LanSetup.ini" UserSelectLan)" 4
  check "changed setting in place" same "$(ini_value "$INSTDIR/TSetting.ini" LeftHandMode)" 1

  # The upgrade, while that PenHost still runs.
  setup setup-new.exe /S
  check "silent upgrade exits 0" same $? 0
  check "the upgrade asked PenHost to close" contains "$WINEPREFIX/drive_c/setup.log" "Asked PenHost"
  check "PenHost has ended" wait_for 10 eval '! kill -0 $PENHOST_PID 2>/dev/null'
  check_installed "$NEW_VERSION"
  check "the upgrade was noticed" contains "$WINEPREFIX/drive_c/setup.log" "Upgrading $OLD_VERSION"
  check "upgrade keeps LeftHandMode=1" same "$(ini_value "$INSTDIR/TSetting.ini" LeftHandMode)" 1
  check "upgrade keeps the chosen language" same "$(ini_value "$INSTDIR/LanSetup.ini" UserSelectLan)" 4
  check "upgrade keeps the language choice on" same "$(ini_value "$INSTDIR/LanSetup.ini" UserSelectLanEnable)" 1
  check_wintab_installed
  kill "$PENHOST_PID" 2>/dev/null

  # The older setup over the newer install: silent mode leaves it alone.
  setup setup-old.exe /S
  check "an older silent setup: exit 7" same $? 7
  check "it says why" contains "$WINEPREFIX/drive_c/setup.log" "$PRODUCT $NEW_VERSION is installed, newer than this $OLD_VERSION."
  check "the newer version stays" same "$(reg_value "$UNINSTALL_KEY" DisplayVersion)" "$NEW_VERSION"
}

# An older 32-bit Wintab library in its place (with "installed": the one
# there), held by a running program; HOLDER is Wine's process for it.
start_holder() {
  local sys32
  sys32=$(unix_path "$(sys32_win)")
  [ "${1:-}" = installed ] || cp --remove-destination "$out/old-wintab32.dll" "$sys32/wintab32.dll"
  cp --remove-destination "$out/holder.exe" "$sys32/inkprobe-holder.exe"
  # Wine has a Wintab library of its own: the holder must load the file.
  w reg add 'HKCU\Software\Wine\AppDefaults\inkprobe-holder.exe\DllOverrides' /v wintab32 /d native /f >/dev/null 2>&1
  "$PEN_WINE" "$(sys32_win)\\inkprobe-holder.exe" </dev/null >/dev/null 2>&1 &
  HOLDER=$!
  # It loads the library first thing; a holder that could not exits at once.
  sleep $((3 * PATIENCE))
  check "the holder runs with the old library loaded" kill -0 $HOLDER
}

scenario_holder() {
  register_ink_controls
  start_holder
  local holder=$HOLDER

  setup setup-new.exe /S
  check "silent install beside a holder exits 0" same $? 0
  check "the holder has been ended" wait_for 10 eval '! kill -0 $holder 2>/dev/null'
  check "the finder's message was answered" contains "$WINEPREFIX/drive_c/setup.log" "in used by this application"
  check "the setup says it ended the holder" contains "$WINEPREFIX/drive_c/setup.log" "Ended 1 program"
  check_wintab_installed
  check_installed "$NEW_VERSION"
  kill $holder 2>/dev/null
}

scenario_uninstall() {
  local appdata user left
  user=$(ls "$WINEPREFIX/drive_c/users" | grep -v -x Public | head -n 1)
  appdata=$WINEPREFIX/drive_c/users/$user/AppData/Roaming/penhost
  # Another tablet's library, there before ours.
  local sys32 foreign
  sys32=$(unix_path "$(sys32_win)")
  printf 'ANOTHER-VENDORS-WINTAB' >"$sys32/wintab32.dll"
  foreign=$(md5sum <"$sys32/wintab32.dll")
  setup setup-new.exe /S
  check "silent install exits 0" same $? 0
  # The user's settings, beside the program and in the user's folder.
  printf '[MainItem]\r\nLeftHandMode=1\r\n' >"$INSTDIR/TSetting.ini"
  printf '[Wheel]\r\n' >"$INSTDIR/TabletWheel.ini"
  printf 'keys' >"$INSTDIR/R711Def.bin"
  printf 'memory' >"$INSTDIR/padlink_vc.bin"
  mkdir -p "$appdata" && printf '[MainItem]\r\nLeftHandMode=1\r\n' >"$appdata/TSetting.ini"
  register_ink_controls

  uninstall /S
  check "silent uninstall exits 0" same $? 0
  check "the uninstaller looked for programs holding its library" contains "$WINEPREFIX/drive_c/setup.log" "No program uses the tablet library"
  left=$(cd "$INSTDIR" 2>/dev/null && ls | LC_ALL=C sort | tr '\n' ' ')
  check "only the settings are left ($left)" same "$left" "LanSetup.ini R711Def.bin TSetting.ini TabletWheel.ini padlink_vc.bin "
  check "the user's folder is kept" has "$appdata/TSetting.ini"
  check "uninstall entry removed" same "$(reg_value "$UNINSTALL_KEY" DisplayVersion)" ""
  check "logon start removed" same "$(reg_value "$RUN_KEY" PenHost)" ""
  check "start-menu entry removed" lacks "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/$PRODUCT"
  check "Wintab library removed" eval "! contains \"$(unix_path "$(sys32_win)")/wintab32.dll\" InkprobeFakeWintab"
  is_x64 && check "64-bit Wintab library removed" eval "! contains \"$WINEPREFIX/drive_c/windows/system32/wintab32.dll\" InkprobeFakeWintab"
  check "the library that was there before is back" same "$(md5sum <"$sys32/wintab32.dll")" "$foreign"

  setup setup-new.exe /S
  check "install over kept settings exits 0" same $? 0
  check "install keeps the settings it finds" same "$(ini_value "$INSTDIR/TSetting.ini" LeftHandMode)" 1
  uninstall /S /KEEPSETTINGS=0
  check "silent uninstall /KEEPSETTINGS=0 exits 0" same $? 0
  left=$(cd "$INSTDIR" 2>/dev/null && ls | LC_ALL=C sort | tr '\n' ' ')
  check "nothing left in the program's folder ($left)" lacks "$INSTDIR"
  check "nothing left in the user's folder" lacks "$appdata"

  # Another folder (/D=, last and unquoted: Wine would quote a space); a
  # later install goes there too.
  local other='C:\OtherPlace\Pens'
  setup setup-new.exe /S "/D=$other"
  check "install into another folder exits 0" same $? 0
  check "installed into the other folder" has "$(unix_path "$other")/penhost.exe"
  setup setup-new.exe /S
  check "a second install exits 0" same $? 0
  check "it replaced the one in the other folder" contains "$WINEPREFIX/drive_c/setup.log" "Upgrading $NEW_VERSION in $other"
  check "and installed nothing in Program Files" lacks "$INSTDIR"
  check "the logon start names the other folder" same "$(reg_value "$RUN_KEY" PenHost)" "\"$other\\penhost.exe\""
}

scenario_results() {
  local sys32 finder=$WINEPREFIX/drive_c/finder.txt
  sys32=$(unix_path "$(sys32_win)")
  # 0 (nothing holds it) while a program the finder did not see holds it:
  # the library is found in use before anything is changed.
  start_holder
  FAKE_FINDER_RESULT=0 setup setup-fake-finder.exe /S
  check "a library still held: exit 5" same $? 5
  check "it names the file" contains "$WINEPREFIX/drive_c/setup.log" "wintab32.dll is in use"
  check "nothing installed while it is held" lacks "$INSTDIR"
  check "the old library is still there" contains "$sys32/wintab32.dll" OLD-WINTAB-LIBRARY
  kill $HOLDER 2>/dev/null
  wait $HOLDER 2>/dev/null
  # 1002: two programs held the library, one of them could not be ended.
  FAKE_FINDER_RESULT=1002 FAKE_FINDER_LOG='C:\finder.txt' setup setup-fake-finder.exe /S
  check "a holder that cannot be ended: exit 4" same $? 4
  check "silent setup asks the finder without its notice" same "$(tr -d '\r' <"$finder")" "FindWintabInUsed(0)"
  check "it says which" contains "$WINEPREFIX/drive_c/setup.log" "1 of the 2 program(s) that use the tablet library (wintab32.dll) could not be ended. Nothing was changed."
  check "nothing installed" lacks "$INSTDIR"
  check "no uninstall entry" same "$(reg_value "$UNINSTALL_KEY" DisplayVersion)" ""
  check "no logon start" same "$(reg_value "$RUN_KEY" PenHost)" ""
  check "the Wintab library not replaced" contains "$sys32/wintab32.dll" OLD-WINTAB-LIBRARY
  # A result no finder gives: an error.
  FAKE_FINDER_RESULT=-1 setup setup-fake-finder.exe /S
  check "a failed search: exit 6" same $? 6
  check "it says so" contains "$WINEPREFIX/drive_c/setup.log" "could not look for programs that use the tablet library (result -1)"
  check "still nothing installed" lacks "$INSTDIR"
  # Three holders ended.
  FAKE_FINDER_RESULT=3 setup setup-fake-finder.exe /S
  check "holders ended: exit 0" same $? 0
  check "it says how many" contains "$WINEPREFIX/drive_c/setup.log" "Ended 3 program(s)"
  check_installed "$NEW_VERSION"
  check_wintab_installed
  # The uninstaller too finds its library still held, and removes nothing.
  start_holder installed
  FAKE_FINDER_RESULT=0 uninstall /S
  check "uninstall while the library is held: exit 5" same $? 5
  check_installed "$NEW_VERSION"
  check_wintab_installed
  kill $HOLDER 2>/dev/null
}


# The setup program with its windows, in the background (SETUP_PID), and a
# user who answers them: clicker TEXT=BUTTON... (see Clicker.cpp).
clicker() { w "$out/clicker.exe" "$@" >>"$WINEPREFIX/drive_c/clicker.txt" 2>&1; }
wait_setup() {  # wait_setup: the setup's status once it has ended
  wait_for 30 eval '! kill -0 $SETUP_PID 2>/dev/null' || kill $SETUP_PID 2>/dev/null
  wait $SETUP_PID
}

scenario_interactive() {
  "$PEN_WINE" "$out/setup-new.exe" /LOG='C:\setup.log' </dev/null >/dev/null 2>&1 &
  SETUP_PID=$!
  # Install, then Cancel at the question before anything is closed.
  check "the user is asked before programs are closed" clicker "Destination Folder=1" "Setup now closes=2" \
    "OK | Setup was cancelled before anything was changed.=1" "Installation Aborted=2"
  wait_setup
  check "declined: exit 1" same $? 1
  check "declined: nothing installed" lacks "$INSTDIR"
  check "declined: no uninstall entry" same "$(reg_value "$UNINSTALL_KEY" DisplayVersion)" ""

  "$PEN_WINE" "$out/setup-new.exe" /LOG='C:\setup.log' </dev/null >/dev/null 2>&1 &
  SETUP_PID=$!
  # Install, OK, and Finish with "Start PenHost now" ticked.
  check "the user installs" clicker "Destination Folder=1" "Setup now closes=1" "Start PenHost now=1"
  wait_setup
  check "installed: exit 0" same $? 0
  check_installed "$NEW_VERSION"
  check "the last page started PenHost" wait_for 30 has "$INSTDIR/TSetting.ini"
  # The uninstaller closes it.
  uninstall /S
  check "uninstall beside a running PenHost: exit 0" same $? 0
  check "the uninstaller asked PenHost to close" contains "$WINEPREFIX/drive_c/setup.log" "PenHost has closed"
  check "removed" lacks "$INSTDIR/penhost.exe"
}

run_scenario() {
  local name=$1 start=$SECONDS
  pen_wine_isolated "installer-$name" >/dev/null 2>&1 || { echo "installer $name: FAILED (no private Wine)"; return 1; }
  INSTDIR=$WINEPREFIX/drive_c/Program\ Files/$PRODUCT
  # The copy shares the clean prefix's libraries by hard links: the files
  # that setup replaces get their own before anything writes to them.
  local f
  for f in "$WINEPREFIX"/drive_c/windows/{system32,syswow64}/wintab32.dll; do
    [ -f "$f" ] && cp "$f" "$f.own" && mv -f "$f.own" "$f"
  done
  check "fresh prefix: nothing installed" lacks "$INSTDIR"
  "scenario_$name"
  if [ $failures -ne 0 ]; then
    echo "--- $name: setup log"; log | tr -d '\r'; echo "---"
    [ -f "$WINEPREFIX/drive_c/clicker.txt" ] && { echo "--- the windows the user saw"; cat "$WINEPREFIX/drive_c/clicker.txt"; }
    [ -f "$WINEPREFIX/drive_c/penhost-trace.txt" ] && { echo "--- penhost trace (end)"; tail -n 20 "$WINEPREFIX/drive_c/penhost-trace.txt"; }
  fi
  pen_wine_isolated_end
  echo "installer $name: $([ $failures -eq 0 ] && echo passed || echo "FAILED ($failures checks)") ($((SECONDS - start)) s)"
  [ $failures -eq 0 ]
}

failures=0
[ "$(cat "$out/version.failures")" -eq 0 ] && version_failed=0 || version_failed=1
# Side by side, each waiting on real time; in the guest one after another,
# as emulated Wines side by side only starve one another.
pids=()
for s in "${scenarios[@]}"; do
  if [ -n "$here" ]; then
    (run_scenario "$s") >"$out/$s.out" 2>&1
    echo $? >"$out/$s.rc"
    true &
  else
    run_scenario "$s" >"$out/$s.out" 2>&1 &
  fi
  pids+=($!)
done
passed=$((1 - version_failed)) failed=$version_failed
for i in "${!scenarios[@]}"; do
  wait "${pids[$i]}"
  rc=$?
  [ -n "$here" ] && rc=$(cat "$out/${scenarios[$i]}.rc")
  if [ "$rc" -eq 0 ]; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
  cat "$out/${scenarios[$i]}.out"
done
echo "installer: $passed passed, $failed failed"
[ $failed -eq 0 ]
