#!/usr/bin/env bash
# penmac's Debian package, end to end: lintian, its contents and control
# fields, an installation into a throwaway root (dpkg's own database there),
# the installed program run, its removal, and the files desktops, udev and
# systemd read, each checked by their own parsers. Nothing touches this
# machine's system: udev's and systemd's checks run in a mount namespace of
# their own (root only; without it they are skipped and said so).
#
#   tests/e2e/package/deb-test.sh [--deb=FILE | --from=DIR] [--dry-run]
#
# Without --deb it makes the package first (scripts/make-deb.sh; with
# --from=DIR out of that built tree, as make-deb.sh --from does).
# Ends with "deb-test: N passed, N failed"; status 0 only when none failed.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
cd "$root"

deb= dry= make=()
for arg in "$@"; do
  case $arg in
    --deb=*) deb=${arg#--deb=} ;;
    --from=?*) make+=("$arg") ;;
    --dry-run) dry=1 ;;
    *) echo "deb-test: unknown argument $arg (known: --deb=FILE --from=DIR --dry-run)" >&2; exit 2 ;;
  esac
done
[ -n "$dry" ] && exit 0

passed=0 failed=0
ok() { echo "deb-test: ok: $*"; passed=$((passed + 1)); }
fail() { echo "deb-test: FAILED: $*"; failed=$((failed + 1)); }
finish() {
  echo "deb-test: $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
  exit
}

if [ -z "$deb" ]; then
  if ! out=$("$root/scripts/make-deb.sh" "${make[@]}" 2>&1); then
    echo "$out" | tail -n 40
    fail "make-deb.sh"
    finish
  fi
  deb=$(tail -n 1 <<<"$out")
fi
if [ ! -f "$deb" ]; then
  fail "no package at $deb"
  finish
fi
deb=$(cd "$(dirname "$deb")" && pwd)/$(basename "$deb")
version=$(sed -nE 's/^project\([a-z]+ VERSION ([0-9.]+).*/\1/p' CMakeLists.txt | head -n 1)-1
echo "deb-test: $deb ($(du -k "$deb" | cut -f1) KiB)"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# --- lintian: no error, no warning (informational tags are shown).
if lintian --fail-on error,warning --info "$deb" >"$tmp/lintian" 2>&1; then
  ok "lintian: no errors or warnings$(grep -cE '^[IP]:' "$tmp/lintian" | sed 's/^0$//; s/^[1-9].*/ (informational: &)/')"
else
  grep -E '^[EWIPX]:' "$tmp/lintian" || cat "$tmp/lintian"
  fail "lintian"
fi

# --- Contents: each file with its mode, owned by root, nothing else.
expected="-rwxr-xr-x ./usr/bin/penmac
-rw-r--r-- ./usr/lib/udev/rules.d/60-penmac.rules
-rw-r--r-- ./usr/lib/systemd/user/penmac.service
-rw-r--r-- ./usr/share/applications/penmac.desktop
-rw-r--r-- ./etc/xdg/autostart/penmac.desktop
-rw-r--r-- ./etc/libwacom/penmac.tablet
-rw-r--r-- ./usr/share/icons/hicolor/scalable/apps/penmac.svg
-rw-r--r-- ./usr/share/man/man1/penmac.1.gz
-rw-r--r-- ./usr/share/doc/penmac/copyright
-rw-r--r-- ./usr/share/doc/penmac/changelog.Debian.gz
-rw-r--r-- ./usr/share/lintian/overrides/penmac"
for s in 16 24 32 48 64 128 256; do
  expected+=$'\n'"-rw-r--r-- ./usr/share/icons/hicolor/${s}x${s}/apps/penmac.png"
done
dpkg-deb -c "$deb" >"$tmp/contents"
# mode, owner, path of each entry; directories apart.
awk '{ print $1, $2, $6 }' "$tmp/contents" | sort >"$tmp/entries"
grep -v '^d' "$tmp/entries" | awk '{ print $1, $3 }' | sort >"$tmp/files"
sort <<<"$expected" >"$tmp/expected"
if diff "$tmp/expected" "$tmp/files" >"$tmp/diff"; then
  ok "contents: the $(wc -l <"$tmp/expected") files with their modes, and no others"
else
  sed -e 's/^</missing or other mode:/' -e 's/^>/not expected:/' "$tmp/diff" | grep -E '^(missing|not)'
  fail "contents"
fi
if awk '$2 != "root/root"' "$tmp/entries" | grep -q . ; then
  awk '$2 != "root/root"' "$tmp/entries"
  fail "every entry is owned by root/root"
elif grep '^d' "$tmp/entries" | awk '$1 != "drwxr-xr-x"' | grep -q .; then
  grep '^d' "$tmp/entries" | awk '$1 != "drwxr-xr-x"'
  fail "every directory is 0755"
else
  ok "owners root/root, directories 0755"
fi

# --- The program in it is stripped, and hardened as Debian's are.
mkdir -p "$tmp/x"
dpkg-deb -x "$deb" "$tmp/x"
if file "$tmp/x/usr/bin/penmac" | grep -q 'stripped' && ! file "$tmp/x/usr/bin/penmac" | grep -q 'not stripped'; then
  ok "usr/bin/penmac is stripped"
else
  fail "usr/bin/penmac is not stripped: $(file -b "$tmp/x/usr/bin/penmac")"
fi

# --- Control fields.
field() { dpkg-deb -f "$deb" "$1"; }
check_field() {  # check_field NAME EXTENDED-REGEX [WHAT]
  local v
  v=$(field "$1")
  if grep -qE "$2" <<<"$v"; then ok "control $1: ${3:-$(head -n 1 <<<"$v")}"; else fail "control $1 is '$v', wanted /$2/"; fi
}
check_field Package '^penmac$'
check_field Version "^${version//./\\.}$"
check_field Architecture '^amd64$'
check_field Section '^utils$'
check_field Priority '^optional$'
check_field Maintainer '^[^<]+ <[^@>]+@[^>]+>$'
check_field Description '^driver of the USB pen tablet 08F2:6811$'
# dpkg-shlibdeps' work: the libraries the program links, each with a version.
for lib in libc6 libstdc++6 libgcc-s1 libudev1 libevdev2 libsystemd0; do
  check_field Depends "(^|, )${lib//+/\\+} \\(>= [0-9][^)]*\\)" "$lib, versioned"
done
dpkg-deb --ctrl-tarfile "$deb" | tar -xO ./conffiles >"$tmp/conffiles" 2>/dev/null
if [ "$(sort "$tmp/conffiles")" = "$(printf '/etc/libwacom/penmac.tablet\n/etc/xdg/autostart/penmac.desktop')" ]; then
  ok "conffiles: the two files under /etc"
else
  fail "conffiles: $(tr '\n' ' ' <"$tmp/conffiles")"
fi

# The changelog's latest entry is this version.
if gzip -dc "$tmp/x/usr/share/doc/penmac/changelog.Debian.gz" | head -n 1 | grep -qF "penmac ($version) "; then
  ok "changelog.Debian: the entry of $version"
else
  fail "changelog.Debian begins '$(gzip -dc "$tmp/x/usr/share/doc/penmac/changelog.Debian.gz" | head -n 1)', not version $version"
fi

# --- Its dependencies resolve on this system's Debian (a simulation: apt
# changes nothing).
if apt-get install --simulate -qq "$deb" >"$tmp/apt" 2>&1; then
  ok "apt would install it here (dependencies resolve)"
else
  tail -n 20 "$tmp/apt"
  fail "apt-get install --simulate"
fi

# --- Installed by dpkg into a throwaway root of its own.
inst=$tmp/root
mkdir -p "$inst/var/lib/dpkg/info" "$inst/var/lib/dpkg/updates" "$inst/usr/bin" "$inst/etc"
: >"$inst/var/lib/dpkg/status"
: >"$inst/var/lib/dpkg/available"
# The empty root has none of the libraries' packages: only those
# dependencies are forced; the program runs on this system's libraries.
dpkg_root() { dpkg --root="$inst" --force-not-root --force-depends --force-script-chrootless "$@"; }
if dpkg_root -i "$deb" >"$tmp/dpkg" 2>&1 && dpkg-query --root="$inst" -W -f='${Status}' penmac | grep -q 'install ok installed'; then
  ok "dpkg installs it (status: install ok installed)"
else
  cat "$tmp/dpkg"
  fail "dpkg -i into $inst"
fi
for f in /usr/bin/penmac /usr/lib/udev/rules.d/60-penmac.rules /usr/lib/systemd/user/penmac.service \
         /etc/xdg/autostart/penmac.desktop /usr/share/applications/penmac.desktop; do
  [ -e "$inst$f" ] || fail "installed: $f is missing"
done

# The installed program: its help, and a recorded session played through it
# (events printed, nothing posted).
if "$inst/usr/bin/penmac" --help >"$tmp/help" 2>&1 && grep -q -- '--headless' "$tmp/help"; then
  ok "installed penmac --help"
else
  cat "$tmp/help"
  fail "installed penmac --help"
fi
mkdir -p "$tmp/home/config" "$tmp/home/run"
chmod 700 "$tmp/home/run"
if XDG_CONFIG_HOME=$tmp/home/config XDG_RUNTIME_DIR=$tmp/home/run timeout 20 "$inst/usr/bin/penmac" --headless \
     --replay docs/penmac-stroke.txt --events "$tmp/events" --exit-after 2 >"$tmp/run" 2>&1 &&
   [ -s "$tmp/events" ]; then
  ok "installed penmac plays a recorded stroke ($(wc -l <"$tmp/events") events)"
else
  cat "$tmp/run"
  fail "installed penmac --headless --replay"
fi

# --- The desktop entries, as desktops read them.
for f in usr/share/applications/penmac.desktop etc/xdg/autostart/penmac.desktop; do
  if out=$(desktop-file-validate "$inst/$f" 2>&1) && [ -z "$out" ]; then
    ok "desktop-file-validate $f"
  else
    echo "$out"
    fail "desktop-file-validate $f"
  fi
done
if grep -qx 'Exec=penmac' "$inst/etc/xdg/autostart/penmac.desktop" && grep -qx 'Icon=penmac' "$inst/usr/share/applications/penmac.desktop"; then
  ok "the entries start penmac, with its icon"
else
  fail "the entries' Exec/Icon"
fi

# --- The udev rule and the systemd unit, by udev and systemd themselves, in
# a mount namespace where /run/udev and /dev are private and the package's
# /usr lies over this system's.
if [ "$(id -u)" -eq 0 ] && command -v unshare >/dev/null && [ -d /run/udev ]; then
  mkdir -p "$tmp/rules"
  cp "$inst/usr/lib/udev/rules.d/60-penmac.rules" "$tmp/rules/"
  unshare -m sh -c 'mount --make-rprivate / && mount -t tmpfs none /run/udev && mount -t tmpfs none /dev &&
    mkdir /run/udev/rules.d && mount --bind "$1" /run/udev/rules.d &&
    udevadm test --action=add /sys/class/mem/null' sh "$tmp/rules" >"$tmp/udev" 2>&1
  if grep -q 'Reading rules file: /run/udev/rules.d/60-penmac.rules' "$tmp/udev" &&
     ! grep '60-penmac.rules:' "$tmp/udev" | grep -q .; then
    ok "udev reads 60-penmac.rules without a complaint"
  else
    grep -E '60-penmac|rror' "$tmp/udev" | head -n 20
    fail "udevadm test with 60-penmac.rules"
  fi

  mkdir -p "$tmp/xdg-run"
  chmod 700 "$tmp/xdg-run"
  XDG_RUNTIME_DIR=$tmp/xdg-run unshare -m sh -c 'mount --make-rprivate / &&
    mount -t overlay overlay -o "lowerdir=$1/usr:/usr" /usr &&
    systemd-analyze verify --user /usr/lib/systemd/user/penmac.service' sh "$inst" >"$tmp/unit" 2>&1
  rc=$?
  if [ $rc -eq 0 ] && ! grep -q 'penmac' "$tmp/unit"; then
    ok "systemd-analyze verify --user penmac.service"
  else
    cat "$tmp/unit"
    fail "systemd-analyze verify --user penmac.service (status $rc)"
  fi
else
  echo "deb-test: skipped: udev's and systemd's own checks (they need root and a mount namespace)"
fi

# --- Removed again: nothing of it stays, conffiles included.
if dpkg_root --purge penmac >"$tmp/purge" 2>&1 && [ -z "$(find "$inst" -name '*penmac*' ! -path "$inst/var/lib/dpkg/*")" ]; then
  ok "dpkg --purge leaves none of its files"
else
  cat "$tmp/purge"
  find "$inst" -name '*penmac*'
  fail "dpkg --purge"
fi

finish
