#!/bin/sh
# Cross-builds the Windows programs into build-win/: gleaner.exe,
# gleaner-cli.exe, gleaner-sample-site.exe and the tests, each self-contained.
#   scripts/build-windows.sh            packages, dependency prefix, build
#   scripts/build-windows.sh --deps     packages and dependency prefix only
# The dependencies are cross-built once from Debian's source packages into
#   ${GLEANER_WIN_CACHE:-/var/cache/gleaner-win64}/<hash of the recipe>
# and reused while scripts/windows-deps/ and the toolchain file stay the same.
set -eu
cd "$(dirname "$0")/.."
ROOT=$(pwd)

PACKAGES="cmake ninja-build pkg-config dpkg-dev tcl libgtest-dev \
g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 libz-mingw-w64-dev \
wine wine64 xvfb xauth fonts-wqy-microhei wx3.2-i18n"
scripts/apt-need.sh $PACKAGES

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

# The cache key: everything that decides what the prefix holds.
KEY=$(cat scripts/windows-deps/* cmake/toolchain-mingw-w64.cmake | sha256sum | cut -c1-16)
CACHE=${GLEANER_WIN_CACHE:-/var/cache/gleaner-win64}
if ! mkdir -p "$CACHE" 2>/dev/null || [ ! -w "$CACHE" ]; then
  $SUDO mkdir -p "$CACHE"
  $SUDO chown "$(id -u):$(id -g)" "$CACHE"
fi
PREFIX=$CACHE/$KEY

# One builder at a time per cache; a second waits and then finds it built.
exec 9>"$CACHE/.lock"
flock 9
if [ ! -f "$PREFIX/.complete" ]; then
  echo "building the Windows dependencies into $PREFIX (about 20 minutes on 2 cores)" >&2
  start=$(date +%s)
  rm -rf "$PREFIX" "$CACHE/work"
  scripts/windows-deps/deps.sh "$PREFIX" "$CACHE/work"
  rm -rf "$CACHE/work"
  # Prefixes of earlier recipes are never used again.
  for old in "$CACHE"/*/; do
    [ "${old%/}" = "$PREFIX" ] || rm -rf "$old"
  done
  touch "$PREFIX/.complete"
  echo "Windows dependencies built in $(( $(date +%s) - start )) s" >&2
fi
flock -u 9
[ "${1:-}" = "--deps" ] && { echo "$PREFIX"; exit 0; }

# A build-win/ configured against the prefix of an earlier recipe holds that
# prefix's paths in its cache (wx-config, pkg-config results): configured
# afresh then.
FRESH=""
if [ -f build-win/CMakeCache.txt ] && ! grep -qx "GLEANER_WIN_PREFIX:[A-Z]*=$PREFIX" build-win/CMakeCache.txt; then
  FRESH="--fresh"
fi
cmake $FRESH -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-mingw-w64.cmake" \
  -DGLEANER_WIN_PREFIX="$PREFIX" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-win -j "${GLEANER_JOBS:-2}"
