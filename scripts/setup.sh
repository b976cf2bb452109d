#!/usr/bin/env bash
# Installs what the build and the tests need, from Debian's packages.
# Idempotent: does nothing when every package is already there.
set -euo pipefail

# Two commands started together (the run and the test command, or two work
# trees) must not both run apt: the second waits and then finds it all there.
lock="${TMPDIR:-/tmp}/pen-setup.lock"
[ -e "$lock" ] || { : >"$lock"; chmod 666 "$lock"; } 2>/dev/null || true
exec 9<"$lock"   # read-only: whoever created it, every user can lock it
flock 9

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev      # native build, sanitizers, libFuzzer
  ccache                                               # rebuilds pay only for what changed
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  g++-mingw-w64-x86-64 g++-mingw-w64-i686             # Windows cross-builds
  wine64 wine wine32:i386                              # run them: 64- and 32-bit
  xvfb xauth                                           # a display for windows and the tray
  fonts-wqy-microhei                                   # Chinese glyphs for the windows under Wine
  qemu-system-x86                                      # a Debian kernel guest: uinput/uhid, 32-bit programs
  e2fsprogs xz-utils                                   # the guest's prefix disk; unpacking its kernel
  pkg-config libudev-dev libevdev-dev                  # penmac on Linux: hidraw devices, uinput devices
  libsystemd-dev dbus-daemon                           # penmac: logind's session and sleep (sd-bus); a test bus
  nlohmann-json3-dev libcli11-dev                      # penmac: configuration files, command line
  udev libinput-tools libinput-bin libwacom-common     # penmac's qemu test: its devices read as a desktop reads them
  nsis                                                 # makensis: the Windows setup program
  qt6-base-dev qt6-qpa-plugins                         # penmac's desktop application: status menu, windows
  qt6-tools-dev qt6-l10n-tools qt6-tools-dev-tools     # its translations (lupdate, lrelease)
  lintian trayer                                       # its Debian package checked; a tray host under Xvfb
  desktop-file-utils                                   # the package's .desktop files validated (desktop-file-validate)
  librsvg2-bin                                         # the package's PNG icons rendered from its SVG (rsvg-convert)
  xdotool x11-utils                                    # the tray test: finds penmac's icon in the tray, clicks it
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}" >&2
SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
