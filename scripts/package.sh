#!/bin/sh
# Makes what is handed to users, into dist/:
#   gleaner-VERSION-win64.zip     a portable folder: the three programs, the
#                                 help page and a README in Chinese
#   gleaner-VERSION-setup.exe     the Windows installer (NSIS)
#   gleaner_VERSION_amd64.deb     the Debian package (CPack), checked by lintian
# from the builds in build-win/ (scripts/build-windows.sh) and build/
# (scripts/build.sh); a missing build is made first, a present one is only
# brought up to date.
#   scripts/package.sh [windows|deb]...     (both by default)
set -eu
cd "$(dirname "$0")/.."
ROOT=$(pwd)
VERSION=$(sed -n 's/^project(Gleaner VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
KINDS=${*:-windows deb}
# What the packaging tools need, for all kinds at once.
needed=""
for kind in $KINDS; do
  case $kind in
    windows) needed="$needed nsis" ;;
    deb) needed="$needed dpkg-dev file lintian" ;;
  esac
done
[ -z "$needed" ] || scripts/apt-need.sh $needed
mkdir -p dist
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for kind in $KINDS; do
  case $kind in
    windows)
      if [ -f build-win/build.ninja ]; then cmake --build build-win -j 2 >/dev/null; else scripts/build-windows.sh; fi
      folder=$work/gleaner-$VERSION-win64
      cmake --install build-win --prefix "$folder" --strip >/dev/null
      # The README for Notepad: UTF-8 with a byte-order mark, CR LF lines.
      { printf '\357\273\277'
        sed -e "s/@VERSION@/$VERSION/" res/windows/README-zh.txt |
          { if [ -d "$folder/help" ]; then cat; else grep -v '^  help\\'; fi; } | sed 's/$/\r/'
      } >"$folder/README.txt"
      rm -f "dist/gleaner-$VERSION-win64.zip" "dist/gleaner-$VERSION-setup.exe"
      (cd "$work" && cmake -E tar cf "$ROOT/dist/gleaner-$VERSION-win64.zip" --format=zip "gleaner-$VERSION-win64")
      makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$VERSION" -DSTAGE="$folder" -DICON="$ROOT/res/art/gleaner.ico" \
        -DOUTFILE="$ROOT/dist/gleaner-$VERSION-setup.exe" res/windows/installer.nsi
      ;;
    deb)
      if [ -f build/build.ninja ]; then cmake --build build -j 2 >/dev/null; else scripts/build.sh; fi
      rm -f dist/gleaner_"$VERSION"*_amd64.deb
      (cd build && cpack -G DEB >/dev/null)
      rm -rf dist/_CPack_Packages
      # Debian's own checks of the package: an error fails the packaging,
      # warnings and notes are shown.
      lintian --fail-on error --info dist/gleaner_"$VERSION"*_amd64.deb
      ;;
    *)
      echo "usage: scripts/package.sh [windows|deb]..." >&2
      exit 2
      ;;
  esac
done
ls -l dist
