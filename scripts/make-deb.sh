#!/usr/bin/env bash
# Builds penmac's Debian package: the preset "deb" (g++, Release, the prefix
# /usr, which the systemd unit names, and Debian's hardening) in build/deb,
# then CPack's DEB generator.
#
#   scripts/make-deb.sh [--no-build] [--from=DIR] [--dry-run]
#
# Writes build/deb/penmac_VERSION-1_amd64.deb (VERSION: the project's
# version in CMakeLists.txt) and prints its path last. --no-build packages
# the build as it is. --from=DIR packages another tree built with the same
# settings instead (the gcc preset's, in the test command: one build fewer)
# and writes the package there. --dry-run only checks the arguments.
# Install it with: sudo apt install ./build/deb/penmac_VERSION-1_amd64.deb
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$PEN_ROOT"

build=1 dry= dir=build/deb
for arg in "$@"; do
  case $arg in
    --no-build) build= ;;
    --from=?*) dir=${arg#--from=}; build= ;;
    --dry-run) dry=1 ;;
    *) echo "make-deb: unknown argument $arg (known: --no-build --from=DIR --dry-run)" >&2; exit 2 ;;
  esac
done
[ -n "$dry" ] && exit 0

"$PEN_ROOT/scripts/setup.sh"

if [ "$dir" != build/deb ]; then
  if [ ! -f "$dir/CPackConfig.cmake" ] || ! grep -q '^CMAKE_INSTALL_PREFIX:PATH=/usr$' "$dir/CMakeCache.txt"; then
    echo "make-deb: $dir is not a build made for the package (the prefix /usr: a preset inheriting \"debian\")" >&2
    exit 2
  fi
elif [ -n "$build" ] || [ ! -f "$dir/CPackConfig.cmake" ]; then
  # build/release keeps the prefix its README instructions install under
  # (/usr/local); the preset "deb" has the package's own settings.
  cmake --preset deb >/dev/null
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
