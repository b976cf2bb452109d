#!/usr/bin/env bash
# penmac against a real Linux kernel: boots Debian's 6.1 kernel under qemu
# (TCG) with uinput, uhid and the HID drivers, and runs the guest check: a
# virtual tablet (uhid) plays a stroke, a side button, a key, a wheel step
# and a soft key, the unmodified penmac program reads them through hidraw and
# posts them through uinput, and the check reads penmac's input devices,
# directly and through systemd-udevd and libinput as a desktop does.
#
#   scripts/penmac-kernel-test.sh [BUILD_DIR]     (default build/native)
#
# Prints the guest's lines and ends with status 0 only when the guest printed
# its pass line. Sourcing it defines pen_penmac_kernel_test only.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$PEN_ROOT/scripts/qemu-kernel.sh"

# Copies PROGRAM and every shared library it loads into ROOT, at the same
# paths, without debug information.
pen_penmac_copy_program() {
  local root=$1 program=$2 lib
  mkdir -p "$root/penmac"
  objcopy --strip-debug "$program" "$root/penmac/$(basename "$program")"
  for lib in $(ldd "$program" | grep -oE '/[^ ]+'); do
    [ -e "$root$lib" ] && continue
    mkdir -p "$root$(dirname "$lib")"
    objcopy --strip-debug "$lib" "$root$lib" 2>/dev/null || cp -L "$lib" "$root$lib"
  done
}

# Copies the host's FILE (a program or a helper) into ROOT at the same path,
# with the shared libraries it loads.
pen_penmac_copy_tool() {
  local root=$1 file=$2 lib
  mkdir -p "$root$(dirname "$file")"
  objcopy --strip-debug "$file" "$root$file" 2>/dev/null || cp -L "$file" "$root$file"
  for lib in $(ldd "$file" 2>/dev/null | grep -oE '/[^ ]+'); do
    [ -e "$root$lib" ] && continue
    mkdir -p "$root$(dirname "$lib")"
    objcopy --strip-debug "$lib" "$root$lib" 2>/dev/null || cp -L "$lib" "$root$lib"
  done
}

# What a desktop reads penmac's devices with: systemd-udevd (the devices'
# ID_INPUT_* properties), libinput's tools and the quirks and libwacom
# descriptions they load, penmac's own description among them. From the
# host's Debian packages udev, libinput-tools, libinput-bin, libwacom-common
# (scripts/setup.sh).
pen_penmac_copy_desktop_input() {
  local root=$1 f
  for f in /usr/bin/udevadm /usr/libexec/libinput/libinput-debug-events /usr/libexec/libinput/libinput-list-devices \
           /usr/lib/udev/libinput-device-group /usr/lib/udev/libinput-fuzz-extract /usr/lib/udev/libinput-fuzz-to-zero \
           /usr/bin/stdbuf /usr/libexec/coreutils/libstdbuf.so; do
    [ -x "$f" ] || { echo "penmac-kernel: $f missing (scripts/setup.sh installs it)" >&2; return 1; }
    pen_penmac_copy_tool "$root" "$f"
  done
  mkdir -p "$root/usr/lib/systemd" "$root/etc/udev" "$root/etc/libwacom" "$root/usr/share" "$root/run"
  ln -sf /usr/bin/udevadm "$root/usr/lib/systemd/systemd-udevd"
  cp -r /usr/lib/udev/rules.d /usr/lib/udev/hwdb.bin "$root/usr/lib/udev/"
  cp /etc/udev/udev.conf "$root/etc/udev/"
  cp -r /usr/share/libinput /usr/share/libwacom "$root/usr/share/"
  cp "$PEN_ROOT/app/penmac/dist/penmac.tablet" "$root/etc/libwacom/"
}

pen_penmac_kernel_test() {
  local build=${1:-$PEN_ROOT/build/native}
  local penmac=$build/app/penmac check=$build/tests/penmac_guest_check
  [ -x "$penmac" ] && [ -x "$check" ] || { echo "penmac-kernel: build $penmac and $check first" >&2; return 1; }
  pen_qemu_kernel || return 1

  local work=$PEN_ROOT/build/qemu/penmac root
  root=$work/root
  rm -rf "$work" && mkdir -p "$root"/{bin,dev,proc,sys,tmp} || return 1
  cp "$PEN_QEMU_BUSYBOX" "$root/bin/busybox"
  pen_qemu_modules "$root" evdev uinput uhid hid-generic || return 1
  pen_penmac_copy_program "$root" "$penmac"
  pen_penmac_copy_program "$root" "$check"
  pen_penmac_copy_desktop_input "$root" || return 1
  cat >"$root/init" <<'INIT'
#!/bin/busybox sh
/bin/busybox --install -s /bin
mount -t proc proc /proc
mount -t sysfs sys /sys
mount -t devtmpfs dev /dev
mount -t tmpfs tmp /tmp
for m in $(cat /modules/order); do
  insmod /modules/$m.ko || echo "insmod $m failed"
done
echo "guest: kernel $(uname -r), $(ls /dev/uinput /dev/uhid 2>&1 | tr '\n' ' ')"
mount -t tmpfs run /run
/usr/lib/systemd/systemd-udevd --daemon --resolve-names=never 2>/dev/null
udevadm trigger --action=add --type=subsystems
udevadm trigger --action=add --type=devices
udevadm settle
ASAN_OPTIONS=detect_leaks=1 /penmac/penmac_guest_check /penmac/penmac
echo "guest: check ended with status $?"
poweroff -f
INIT
  chmod +x "$root/init"
  pen_qemu_pack "$root" "$work/initramfs.cpio.gz" || return 1

  local out=$work/serial.log
  PEN_QEMU_TIMEOUT=600 pen_qemu_boot "$out" "$work/initramfs.cpio.gz" </dev/null >"$work/qemu.log" 2>&1
  cat "$work/qemu.log"
  tr -d '\r' <"$out" | grep -vE '^\s*$' | grep -vE 'reboot: Power down|ACPI|Run /init'
  # qemu's own status says nothing about the guest: only the pass line does.
  grep -q 'PENMAC-KERNEL-E2E PASS' "$out"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -uo pipefail
  pen_penmac_kernel_test "$@"
fi
