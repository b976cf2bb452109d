#!/usr/bin/env bash
# Runs a command where 32-bit Windows programs work, on a machine whose kernel
# cannot execute 32-bit code: inside a qemu guest booting Debian's own kernel
# (which can), with this machine's root file system shared read-only, so the
# guest runs the installed wine32, the build tree and the tools as they are.
#
#   scripts/wine32-guest.sh [-w DIR]... COMMAND [ARG...]
#
# COMMAND runs as root in the current folder, on a private Xvfb display, with
# Wine's services already started in a 32-bit prefix that is made once (in
# the guest) and kept in build/qemu/wine32; every run starts from that clean
# prefix and its changes are dropped. Writes to the shared tree land in the
# guest's memory and are dropped too, except in each -w DIR, shared writable.
# Output shows as it comes; the status is COMMAND's, or 125 when the guest
# could not run it.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$PEN_ROOT/scripts/qemu-kernel.sh"

W32_DIR=${PEN_QEMU_CACHE:-$PEN_ROOT/build/qemu}/wine32
# The guest's programs see the prefix there, the job folder at /w32ctl.
W32_PREFIX=/w32pfx/prefix
export PEN_QEMU_MEMORY=${PEN_QEMU_MEMORY:-2G}

w32_die() { echo "wine32 guest: $*" >&2; exit 125; }

# The guest's /init: the host's root under a memory overlay, the prefix disk,
# the job folder and the writable folders; then the job, chrooted.
w32_init() {
  cat <<'INIT'
#!/bin/busybox sh
/bin/busybox --install -s /bin
export PATH=/bin
mount -t proc proc /proc
mount -t sysfs sys /sys
mount -t devtmpfs dev /dev
while read -r m; do insmod "/modules/$m.ko" || echo "init: insmod $m failed"; done </modules/order
m9p() { mount -t 9p -o "trans=virtio,version=9p2000.L,msize=512000,$3" "$1" "$2"; }
fail() { echo "init: $*"; poweroff -f; }
mkdir -p /ctl /host /rw /newroot
m9p ctl /ctl cache=none || fail "no job folder"
m9p hostroot /host ro,cache=loose || fail "no host root"
mount -t tmpfs -o size=75% rw /rw && mkdir /rw/upper /rw/work
mount -t overlay -o lowerdir=/host,upperdir=/rw/upper,workdir=/rw/work overlay /newroot || fail "no overlay"
R=/newroot
mount -t proc proc $R/proc
mount -t sysfs sys $R/sys
mount -t devtmpfs dev $R/dev
mkdir -p $R/dev/pts $R/dev/shm $R/w32ctl $R/w32pfx
mount -t devpts devpts $R/dev/pts
mount -t tmpfs -o mode=1777 shm $R/dev/shm
# A fresh /tmp: the host's holds its own X servers' sockets and locks.
mount -t tmpfs -o mode=1777 tmp $R/tmp
mount --bind /ctl $R/w32ctl
# noinit_itable: no background zeroing of the disk's inode tables at each boot.
mount -t ext4 -o noatime,noinit_itable /dev/vda $R/w32pfx || fail "no prefix disk"
# cache=loose: from an uncached 9p mount Wine's 32-bit programs crash at
# their first instruction.
i=0
while read -r dir; do
  mkdir -p "$R$dir" && m9p "rw$i" "$R$dir" cache=loose || fail "cannot share $dir"
  i=$((i + 1))
done </ctl/rw
chroot $R /bin/bash /w32ctl/job.sh >/ctl/stdout 2>/ctl/stderr </dev/null
echo $? >/ctl/rc
umount $R/w32pfx
sync
echo "halt $(cut -d' ' -f1 /proc/uptime)" >>/ctl/times
poweroff -f
INIT
}

w32_initramfs() {
  W32_INITRAMFS=$W32_DIR/initramfs.cpio.gz
  local stamp tmp
  stamp="$PEN_QEMU_KVER $(w32_init | md5sum)"
  [ -f "$W32_INITRAMFS" ] && [ "$(cat "$W32_DIR/initramfs.stamp" 2>/dev/null)" = "$stamp" ] && return 0
  tmp=$(mktemp -d "$W32_DIR/initramfs.XXXXXX") || return 1
  mkdir -p "$tmp/bin" "$tmp/proc" "$tmp/sys" "$tmp/dev" &&
    cp "$PEN_QEMU_BUSYBOX" "$tmp/bin/busybox" &&
    pen_qemu_modules "$tmp" virtio_mmio virtio_blk 9pnet_virtio 9p overlay ext4 crc32c_generic &&
    w32_init >"$tmp/init" && chmod +x "$tmp/init" &&
    pen_qemu_pack "$tmp" "$W32_INITRAMFS.tmp" &&
    mv "$W32_INITRAMFS.tmp" "$W32_INITRAMFS" &&
    echo "$stamp" >"$W32_DIR/initramfs.stamp"
  local rc=$?
  rm -rf "$tmp"
  return $rc
}

# w32_boot RUN DISKOPTS [-w DIR]...: one boot for the job RUN/job.sh, its
# output streamed from RUN/stdout and RUN/stderr. Returns the job's status, or
# 125 with the console's last lines when the guest did not get to the end.
w32_boot() {
  local run=$1 disk=$2; shift 2
  local args=(
    -fsdev local,id=hostroot,path=/,security_model=none,readonly=on,multidevs=remap
    -device virtio-9p-device,fsdev=hostroot,mount_tag=hostroot
    -fsdev "local,id=ctl,path=$run,security_model=none"
    -device virtio-9p-device,fsdev=ctl,mount_tag=ctl
    -drive "file=$W32_DIR/prefix.img,if=none,id=pfx,format=raw,$disk"
    -device virtio-blk-device,drive=pfx
  )
  local i=0
  : >"$run/rw"
  while [ $# -gt 0 ]; do
    args+=(-fsdev "local,id=rw$i,path=$2,security_model=none" -device "virtio-9p-device,fsdev=rw$i,mount_tag=rw$i")
    echo "$2" >>"$run/rw"
    i=$((i + 1)); shift 2
  done
  args+=(-pidfile "$run/qemu.pid")
  : >"$run/stdout"; : >"$run/stderr"
  local start=$SECONDS
  PEN_QEMU_TIMEOUT=${PEN_WINE32_GUEST_TIMEOUT:-1800} \
    pen_qemu_boot "$run/console.log" "$W32_INITRAMFS" "${args[@]}" </dev/null >"$run/qemu.log" 2>&1 &
  local qemu=$!
  # Stopped from outside (a runner's time limit, ^C): the guest goes too.
  trap 'kill "$(cat "'"$run"'/qemu.pid" 2>/dev/null)" 2>/dev/null; echo "wine32 guest: stopped" >&2; exit 125' INT TERM HUP
  tail -n +1 -f --pid=$qemu "$run/stdout" &
  local out=$!
  tail -n +1 -f --pid=$qemu "$run/stderr" >&2 &
  local err=$!
  wait $qemu
  local qrc=$?
  wait $out $err
  trap - INT TERM HUP
  w32_times "$run/times" $((SECONDS - start))
  if [ -s "$run/rc" ]; then return "$(cat "$run/rc")"; fi
  if [ $qrc -eq 124 ]; then
    echo "wine32 guest: stopped after ${PEN_WINE32_GUEST_TIMEOUT:-1800} s (PEN_WINE32_GUEST_TIMEOUT)" >&2
  else
    echo "wine32 guest: the guest ended before its job did (qemu status $qrc)" >&2
  fi
  tail -n 20 "$run/qemu.log" "$run/console.log" >&2 2>/dev/null
  return 125
}

# Where a boot's time went, from the guest's marks (seconds since its boot);
# "qemu" is the time outside the guest's clock (starting and ending qemu).
w32_times() {
  local file=$1 total=$2
  [ -s "$file" ] || return 0
  awk -v total="$total" '{ t[$1] = $2 }
    END {
      if (!("halt" in t)) exit
      printf "wine32 guest: %d s in all: boot %.0f s, display %.0f s, Wine services %.0f s, command %.0f s, shut-down %.0f s, qemu %.0f s\n",
        total, t["boot"], t["display"] - t["boot"], t["services"] - t["display"], t["command"] - t["services"],
        t["halt"] - t["command"], total - t["halt"]
    }' "$file" >&2
}

# w32_job RUN COMMAND...: the script the guest runs, with this side's
# Wine and test settings and the current folder.
w32_job() {
  local run=$1; shift
  {
    echo 'export PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME=/root TMPDIR=/tmp'
    local n
    for n in $(compgen -e); do
      case $n in
        WINEDEBUG | WINEDLLOVERRIDES | PEN_WINE_SHARED | CTEST_* | GTEST_* | LANG | LANGUAGE | LC_* | TZ) printf 'export %s=%q\n' "$n" "${!n}" ;;
      esac
    done
    printf 'export PEN_WINEPREFIX=%q PEN_WINEARCH=win32\n' "$W32_PREFIX"
    printf 'source %q/scripts/lib.sh\n' "$PEN_ROOT"
    printf 'cd %q || exit 125\n' "$PWD"
    # Seconds since boot at each step, for the summary line.
    echo 'mark() { echo "$1 $(cut -d" " -f1 /proc/uptime)" >>/w32ctl/times; }'
    echo 'mark boot'
    echo 'pen_xvfb_start || exit 125'
    echo 'mark display'
    echo 'pen_wine_prefix'
    echo 'mark services'
    printf '%q ' "$@"; echo
    echo 'rc=$?'
    echo 'mark command'
    # The prefix's server is persistent: end it, and Wine's services with
    # it, before their display goes.
    echo 'pen_wine_stop; pen_xvfb_stop'
    echo 'mark stopped'
    echo 'exit $rc'
  } >"$run/job.sh"
}

# The 32-bit prefix, made in the guest once per wine32 version and prefix
# settings; later boots attach it read-only (qemu keeps their writes apart).
w32_prefix() {
  local key
  key="$(dpkg-query -W -f='${Version}' wine32:i386 2>/dev/null) $(declare -f pen_wine_prefix | md5sum)"
  [ -f "$W32_DIR/prefix.img" ] && [ "$(cat "$W32_DIR/prefix.ready" 2>/dev/null)" = "$key" ] && return 0
  exec 9>"$W32_DIR/prefix.lock"
  flock 9
  [ -f "$W32_DIR/prefix.img" ] && [ "$(cat "$W32_DIR/prefix.ready" 2>/dev/null)" = "$key" ] && return 0
  echo "wine32 guest: making the 32-bit Wine prefix (once)" >&2
  local start=$SECONDS run
  rm -f "$W32_DIR/prefix.img" "$W32_DIR/prefix.ready"
  # Sparse; the prefix takes about 600 MB of it.
  truncate -s 3G "$W32_DIR/prefix.img" && mkfs.ext4 -q -F -L w32pfx "$W32_DIR/prefix.img" || return 1
  run=$(mktemp -d "$W32_DIR/run.XXXXXX") || return 1
  w32_job "$run" test -f "$W32_PREFIX/system.reg"
  if ! w32_boot "$run" snapshot=off; then
    rm -f "$W32_DIR/prefix.img"
    echo "wine32 guest: the prefix could not be made (files in $run)" >&2
    return 1
  fi
  rm -rf "$run"
  echo "$key" >"$W32_DIR/prefix.ready"
  echo "wine32 guest: prefix ready in $((SECONDS - start)) s" >&2
  flock -u 9
}

rw=()
while [ $# -gt 0 ]; do
  case $1 in
    -w) [ -d "${2:-}" ] || w32_die "-w needs a folder"; rw+=(-w "$(cd "$2" && pwd)"); shift 2 ;;
    --) shift; break ;;
    -*) w32_die "usage: $0 [-w DIR]... COMMAND [ARG...]" ;;
    *) break ;;
  esac
done
[ $# -gt 0 ] || w32_die "usage: $0 [-w DIR]... COMMAND [ARG...]"

command -v qemu-system-x86_64 >/dev/null || w32_die "qemu-system-x86_64 is not installed (scripts/setup.sh installs it)"
[ -x /usr/lib/wine/wine ] || w32_die "wine32 is not installed (scripts/setup.sh installs it)"
mkdir -p "$W32_DIR" || w32_die "cannot write $W32_DIR"
pen_qemu_kernel || w32_die "no kernel for the guest"
w32_initramfs || w32_die "the guest's initramfs could not be made"
w32_prefix || w32_die "no 32-bit Wine prefix"

run=$(mktemp -d "$W32_DIR/run.XXXXXX") || w32_die "cannot write $W32_DIR"
w32_job "$run" "$@"
w32_boot "$run" snapshot=on "${rw[@]}"
rc=$?
if [ $rc -eq 125 ]; then echo "wine32 guest: files of the run in $run" >&2; else rm -rf "$run"; fi
exit $rc
