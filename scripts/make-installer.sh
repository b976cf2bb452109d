#!/usr/bin/env bash
# Builds the Windows setup program: the win64 and win32 builds of what it
# installs, those files staged (debug information stripped), then makensis.
#
#   scripts/make-installer.sh [--out=FILE] [--no-build] [--dry-run]
#
# Writes build/installer/pentablet-VERSION-setup.exe (VERSION: the project's
# version in CMakeLists.txt) unless --out says otherwise. --no-build takes
# the builds as they are. For the tests: --version=V gives the setup another
# version; --wintab32=DLL and --wintab64=DLL stand in for the Wintab library
# of a build that has none; --inkprobe=DLL replaces the finder; --quick
# compresses quickly (zlib) instead of tightly. --dry-run only checks the
# arguments.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$PEN_ROOT"

out= build=1 dry= version= wintab32= wintab64= inkprobe= compressor=lzma
for arg in "$@"; do
  case $arg in
    --out=*) out=${arg#--out=} ;;
    --no-build) build= ;;
    --dry-run) dry=1 ;;
    --version=*) version=${arg#--version=} ;;
    --wintab32=*) wintab32=${arg#--wintab32=} ;;
    --wintab64=*) wintab64=${arg#--wintab64=} ;;
    --inkprobe=*) inkprobe=${arg#--inkprobe=} ;;
    --quick) compressor=zlib ;;
    *) echo "make-installer: unknown argument $arg (known: --out=FILE --no-build --dry-run --version=V --wintab32=DLL --wintab64=DLL --inkprobe=DLL --quick)" >&2
       exit 2 ;;
  esac
done
if [ -n "$wintab32" ] && [ -z "$wintab64" ] || [ -z "$wintab32" ] && [ -n "$wintab64" ]; then
  echo "make-installer: --wintab32 and --wintab64 go together (the setup installs both bitnesses)" >&2
  exit 2
fi
[ -n "$dry" ] && exit 0

"$PEN_ROOT/scripts/setup.sh"

# The project's version; the version resource wants four numbers.
if [ -z "$version" ]; then
  version=$(sed -nE 's/^project\([a-z]+ VERSION ([0-9.]+).*/\1/p' CMakeLists.txt | head -n 1)
fi
if ! [[ $version =~ ^[0-9]+(\.[0-9]+){0,3}$ ]]; then
  echo "make-installer: version '$version' is not one to four numbers" >&2
  exit 1
fi
while [ "$(tr -cd . <<<"$version" | wc -c)" -lt 3 ]; do version=$version.0; done

# Builds PRESET's TARGETS (those its manifest lists), after configuring it.
build_preset() {
  local preset=$1; shift
  if [ -n "$build" ] || [ ! -f "build/$preset/installer-files.txt" ]; then
    cmake --preset "$preset" >/dev/null
  fi
  [ -n "$build" ] || return 0
  local targets=() t
  for t in "$@"; do
    grep -q "^$t=" "build/$preset/installer-files.txt" && targets+=("$t")
  done
  nice -n 10 cmake --build --preset "$preset" -j2 --target "${targets[@]}" >/dev/null
}

# The built file of TARGET in PRESET (empty when that build has none).
built() {
  sed -n "s/^$2=//p" "build/$1/installer-files.txt"
}

build_preset win64 penhost tabclient padlink_vc wintab32
build_preset win32 penhost tabclient padlink_vc inkprobe wintab32

# Staged files are kept: a file is stripped again only when its source has
# changed (the tests make several setup programs from one build).
stage=build/installer/stage
mkdir -p "$stage/x64" "$stage/x86" "$stage/common"
rm -f "$stage"/x64/wintab32.dll* "$stage"/x86/wintab32.dll*
place() {  # place STRIP SOURCE DEST
  [ -f "$2" ] || { echo "make-installer: $2 is missing; build it first" >&2; exit 1; }
  [ -f "$3" ] && [ "$(cat "$3.from" 2>/dev/null)" = "$(stat -c '%n %s %Y' "$2")" ] && return
  "$1" --strip-debug -o "$3" "$2"
  stat -c '%n %s %Y' "$2" >"$3.from"
}
for arch in x64 x86; do
  if [ $arch = x64 ]; then preset=win64 strip=x86_64-w64-mingw32-strip; else preset=win32 strip=i686-w64-mingw32-strip; fi
  for t in penhost tabclient padlink_vc; do
    f=$(built $preset $t)
    place $strip "$f" "$stage/$arch/$(basename "$f")"
  done
  wintab=$(built $preset wintab32)
  [ $arch = x64 ] && [ -n "$wintab64" ] && wintab=$wintab64
  [ $arch = x86 ] && [ -n "$wintab32" ] && wintab=$wintab32
  [ -n "$wintab" ] && place $strip "$wintab" "$stage/$arch/wintab32.dll"
done
place i686-w64-mingw32-strip "${inkprobe:-$(built win32 inkprobe)}" "$stage/x86/inkprobe.dll"
# The language files and pictures that the build puts beside penhost.
penhost_dir=$(dirname "$(built win64 penhost)")
for f in LanSetup.ini TabletLan.txt LanName.txt PenShape.bmp Logo.bmp; do
  cp "$penhost_dir/$f" "$stage/common/$f"
done
# The user's documentation, with Windows line ends for Notepad.
sed 's/$/\r/' README.md >"$stage/common/README.txt"

out=${out:-build/installer/pentablet-$version-setup.exe}
mkdir -p "$(dirname "$out")"
makensis -V2 -NOCD -DVERSION="$version" -DSTAGE="$(realpath "$stage")" -DOUTFILE="$(realpath "$out")" \
  -DCOMPRESSOR="$compressor" installer/pentablet.nsi
echo "make-installer: $out ($(du -k "$out" | cut -f1) KiB, version $version$([ -f "$stage/x86/wintab32.dll" ] && echo ", with wintab32.dll" || echo ", without wintab32.dll"))"
