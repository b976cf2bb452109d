#!/usr/bin/env bash
# Builds penmac's Debian package: the release preset's compiler and flags
# in a build folder of its own (build/deb, configured with the prefix /usr,
# which the systemd unit names), then CPack's DEB generator.
#
#   scripts/make-deb.sh [--no-build] [--dry-run]
#
# Writes build/deb/penmac_VERSION-1_amd64.deb (VERSION: the project's
# version in CMakeLists.txt) and prints its path last. --no-build packages
# the build as it is. --dry-run only checks the arguments.
# Install it with: sudo apt install ./build/deb/penmac_VERSION-1_amd64.deb
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$PEN_ROOT"

build=1 dry=
for arg in "$@"; do
  case $arg in
    --no-build) build= ;;
    --dry-run) dry=1 ;;
    *) echo "make-deb: unknown argument $arg (known: --no-build --dry-run)" >&2; exit 2 ;;
  esac
done
[ -n "$dry" ] && exit 0

"$PEN_ROOT/scripts/setup.sh"

dir=build/deb
if [ -n "$build" ] || [ ! -f "$dir/CPackConfig.cmake" ]; then
  # The release preset, elsewhere: build/release keeps the prefix its
  # README instructions install under (/usr/local). CPack's install step
  # would otherwise build every target of the tree first, tests included.
  # The hardening Debian builds its packages with (dpkg-buildflags with
  # hardening=+all): fortified libc calls, stack protector, a read-only GOT.
  hardening="-D_FORTIFY_SOURCE=2 -fstack-protector-strong"
  cmake --preset release -B "$dir" -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
    -DCMAKE_CXX_FLAGS="$hardening" -DCMAKE_C_FLAGS="$hardening" -DCMAKE_EXE_LINKER_FLAGS="-Wl,-z,relro -Wl,-z,now" \
    >/dev/null
fi
if [ -n "$build" ]; then
  # Only what the package holds.
  nice -n 10 cmake --build "$dir" -j 2 --target penmac penmac_dist
fi
rm -f "$dir"/penmac_*.deb
(cd "$dir" && cpack -G DEB -C Release >cpack.log 2>&1) || { cat "$dir/cpack.log" >&2; exit 1; }
deb=$(ls "$dir"/penmac_*.deb)
echo "make-deb: $(du -k "$deb" | cut -f1) KiB"
echo "$deb"
