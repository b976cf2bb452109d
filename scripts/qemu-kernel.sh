# Sourced by the scripts that boot a small Linux guest under qemu (TCG): the
# Linux layer's end-to-end test needs uinput and uhid, the 32-bit Windows
# tests need a kernel that runs 32-bit programs. Debian's own kernel and a
# static busybox are fetched with `apt-get download` and unpacked under
# build/qemu; nothing is installed on the host.
#
# After pen_qemu_kernel:
#   PEN_QEMU_KVER     kernel release, e.g. 6.1.0-57-amd64
#   PEN_QEMU_VMLINUX  the uncompressed kernel (qemu boots it through its PVH entry)
#   PEN_QEMU_MODULES  .../lib/modules/$PEN_QEMU_KVER/kernel (uncompressed .ko files)
#   PEN_QEMU_BUSYBOX  a static busybox

pen_qemu_kernel() {
  local cache=${PEN_QEMU_CACHE:-$PEN_ROOT/build/qemu}
  if [ -f "$cache/kernel/.ready" ]; then
    PEN_QEMU_KVER=$(cat "$cache/kernel/.ready")
  else
    local pkg tmp off vmlinuz
    pkg=$(pen_qemu_kernel_package) || return 1
    tmp=$cache/kernel.tmp
    rm -rf "$tmp" && mkdir -p "$tmp/deb" "$tmp/x" || return 1
    echo "qemu: fetching $pkg and busybox-static" >&2
    # apt drops privileges for downloads; a folder only root can write makes
    # it fall back with a warning, which is harmless here.
    (cd "$tmp/deb" && apt-get download "$pkg" busybox-static >/dev/null 2>&1) || {
      echo "qemu: apt-get download $pkg busybox-static failed" >&2; return 1; }
    for d in "$tmp"/deb/*.deb; do dpkg-deb -x "$d" "$tmp/x" || return 1; done
    vmlinuz=$(ls "$tmp"/x/boot/vmlinuz-* | head -n 1)
    PEN_QEMU_KVER=${vmlinuz##*/vmlinuz-}
    # The bzImage wraps an xz stream; the bare ELF inside boots much faster
    # (PVH entry, no decompression in the emulated CPU).
    off=$(LC_ALL=C grep -obUaP '\xfd7zXZ\x00' "$vmlinuz" | head -n 1 | cut -d: -f1)
    [ -n "$off" ] || { echo "qemu: no xz stream in $vmlinuz" >&2; return 1; }
    # xz stops reading at the stream's end; under pipefail the writer's
    # SIGPIPE would fail a pipe, so only xz's own status counts.
    xz -dc --single-stream < <(tail -c +$((off + 1)) "$vmlinuz") >"$tmp/vmlinux" || return 1
    mkdir -p "$tmp/kernel"
    mv "$tmp/vmlinux" "$tmp/kernel/vmlinux"
    mv "$tmp/x/lib/modules" "$tmp/kernel/modules"
    mv "$tmp/x/bin/busybox" "$tmp/kernel/busybox"
    echo "$PEN_QEMU_KVER" >"$tmp/kernel/.ready"
    rm -rf "$cache/kernel" && mv "$tmp/kernel" "$cache/kernel" && rm -rf "$tmp"
  fi
  PEN_QEMU_VMLINUX=$cache/kernel/vmlinux
  PEN_QEMU_MODULES=$cache/kernel/modules/$PEN_QEMU_KVER/kernel
  PEN_QEMU_BUSYBOX=$cache/kernel/busybox
}

# The newest Debian 6.1 kernel image package the archive offers (not the
# -cloud flavour: it lacks 9p and the HID modules).
pen_qemu_kernel_package() {
  local pkg
  pkg=$(apt-cache search --names-only '^linux-image-6\.1\.0-[0-9]+-amd64$' | awk '{print $1}' | sort -V | tail -n 1)
  if [ -z "$pkg" ]; then
    local SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    $SUDO apt-get update -qq >/dev/null 2>&1
    pkg=$(apt-cache search --names-only '^linux-image-6\.1\.0-[0-9]+-amd64$' | awk '{print $1}' | sort -V | tail -n 1)
  fi
  [ -n "$pkg" ] || { echo "qemu: no linux-image-6.1.0-N-amd64 package in the archive" >&2; return 1; }
  echo "$pkg"
}

# Packs DIR (which must hold /init) as a gzip'ed newc initramfs OUT, using
# busybox's cpio (the host has none).
pen_qemu_pack() {
  local dir=$1 out=$2
  (cd "$dir" && find . | "$PEN_QEMU_BUSYBOX" cpio -o -H newc 2>/dev/null | gzip -1) >"$out"
}

# The host TSC rate in kHz. microvm has no HPET or PM timer, so under load the
# guest cannot calibrate its TSC and hangs at boot unless it is told.
pen_qemu_tsc_khz() {
  awk -F: '/^cpu MHz/ { printf "%d\n", $2 * 1000; exit }' /proc/cpuinfo
}

# Copies the named modules and, first, every module they depend on into
# DIR/modules and lists them in load order in DIR/modules/order, so the
# guest's init can insmod them one by one (there is no depmod or modprobe in
# a busybox initramfs). Names as the kernel spells them (hid_generic or
# hid-generic). Call after pen_qemu_kernel.
pen_qemu_modules() {
  local dir=$1; shift
  mkdir -p "$dir/modules" && : >"$dir/modules/order" || return 1
  local name
  for name in "$@"; do _pen_qemu_module "$dir/modules" "$name" || return 1; done
}

_pen_qemu_module() {
  local out=$1 name=${2//-/_} file deps dep
  grep -qx "$name" "$out/order" && return 0
  file=$(find "$PEN_QEMU_MODULES" \( -name "$name.ko" -o -name "${name//_/-}.ko" \) -print -quit)
  [ -n "$file" ] || { echo "qemu: no module $name in $PEN_QEMU_KVER" >&2; return 1; }
  # The hard dependencies are a line of the module's .modinfo section.
  deps=$(tr '\0' '\n' <"$file" | sed -n 's/^depends=//p' | head -n 1)
  for dep in ${deps//,/ }; do _pen_qemu_module "$out" "$dep" || return 1; done
  cp "$file" "$out/$name.ko" && echo "$name" >>"$out/order"
}

# pen_qemu_boot CONSOLE INITRAMFS [QEMU ARGS...]: boots the kernel with
# INITRAMFS (its /init runs) on a microvm machine under TCG, the guest's
# console going to the file CONSOLE ("-": standard output); the further
# arguments add devices and drives. PEN_QEMU_APPEND adds to the kernel
# command line; PEN_QEMU_MEMORY (default 1G) and PEN_QEMU_CPUS (default 1)
# size the guest; PEN_QEMU_TIMEOUT (seconds) ends a guest that hangs
# (status 124). Returns qemu's status once the guest has powered off; what
# the guest's programs did must come back another way (a shared folder, the
# console).
pen_qemu_boot() {
  local console=$1 initramfs=$2; shift 2
  # -smap: qemu 7.2's TCG applies SMAP to the kernel's iret back to user
  # mode, and Wine's processes die in an oops there. TCG, not KVM: on these
  # (nested) machines a KVM guest crawls. tsc=reliable: the vCPUs' TSCs are
  # the host's, but the boot check sees them warp and would leave the guest
  # on jiffies, whose clock falls behind whenever the host is busy.
  # One vCPU by default: with two, every wake-up of a process on the other
  # vCPU waits for the host to schedule that vCPU's thread, and on a busy
  # host a Wine program's start took 5-18 s instead of 3-4 s.
  local serial=file:$console
  [ "$console" = - ] && serial=stdio
  local append="console=ttyS0 quiet loglevel=3 panic=-1 rdinit=/init"
  append+=" tsc_early_khz=$(pen_qemu_tsc_khz) tsc=reliable ${PEN_QEMU_APPEND:-}"
  timeout -k 10 "${PEN_QEMU_TIMEOUT:-0}" qemu-system-x86_64 -M microvm -accel tcg,thread=multi -cpu max,-smap \
    -m "${PEN_QEMU_MEMORY:-1G}" -smp "${PEN_QEMU_CPUS:-1}" \
    -nodefaults -no-user-config -display none -no-reboot \
    -serial "$serial" -kernel "$PEN_QEMU_VMLINUX" -initrd "$initramfs" \
    -append "$append" \
    "$@"
}
