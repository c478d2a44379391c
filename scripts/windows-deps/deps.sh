#!/bin/sh
# The Windows dependency recipe: cross-builds, from Debian's own source
# packages, every library the Windows programs link, into one static prefix.
#   scripts/windows-deps/deps.sh PREFIX WORKDIR
# scripts/build-windows.sh runs it once per version of this recipe (the hash
# of this folder and of the toolchain file names the prefix) and keeps the
# result; run it by hand only to rebuild a prefix.
#
# The prefix's files hold absolute paths (wx-config, .pc files, CMake
# configs): it works only at the path it was built for.
set -eu

PREFIX=$1
WORK=$2
HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
HOST=x86_64-w64-mingw32
CC=$HOST-gcc-posix
CXX=$HOST-g++-posix
JOBS=${GLEANER_JOBS:-2}
TOOLCHAIN=$ROOT/cmake/toolchain-mingw-w64.cmake
export GLEANER_WIN_PREFIX="$PREFIX"

mkdir -p "$PREFIX/include" "$PREFIX/lib/pkgconfig" "$PREFIX/lib/cmake" "$WORK/src"
log() { printf '[deps %s] %s\n' "$(date +%H:%M:%S)" "$*" >&2; }

# --- sources -----------------------------------------------------------------
# A private apt state with deb-src lines for the machine's own archive and
# suites; the machine's sources and package lists stay as they are.
APT_DIR=$WORK/apt
setup_apt() {
  mkdir -p "$APT_DIR/lists/partial" "$APT_DIR/cache/archives/partial" "$APT_DIR/sources.list.d"
  found=0
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    sed 's/^Types:.*/Types: deb-src/' "$f" >"$APT_DIR/sources.list.d/$(basename "$f")"
    found=1
  done
  if [ -f /etc/apt/sources.list ]; then
    sed -n 's/^deb[[:space:]]/deb-src /p' /etc/apt/sources.list >"$APT_DIR/sources.list.d/machine.list"
    [ -s "$APT_DIR/sources.list.d/machine.list" ] && found=1
  fi
  [ $found -eq 1 ] || { echo "no apt sources found under /etc/apt" >&2; exit 1; }
  cat >"$APT_DIR/apt.conf" <<EOF
Dir::Etc::SourceList "/dev/null";
Dir::Etc::SourceParts "$APT_DIR/sources.list.d";
Dir::State::Lists "$APT_DIR/lists";
Dir::Cache "$APT_DIR/cache";
APT::Sandbox::User "root";
EOF
  APT_CONFIG=$APT_DIR/apt.conf apt-get update -qq
}

# fetch PACKAGE: unpacks Debian's source of PACKAGE (patches applied) under
# $WORK/src and prints its directory. The newest revision listed is not always
# downloadable yet, so older ones are tried in turn.
fetch() {
  pkg=$1
  versions=$(APT_CONFIG=$APT_DIR/apt.conf apt-cache showsrc "$pkg" | sed -n 's/^Version: //p' | sort -u -r -V)
  [ -n "$versions" ] || { echo "no source package $pkg" >&2; exit 1; }
  for v in $versions; do
    dir=$WORK/src/$pkg-$v
    if [ -f "$dir/.fetched" ]; then echo "$dir"; return; fi
    rm -rf "$dir" && mkdir -p "$dir"
    if (cd "$dir" && APT_CONFIG=$APT_DIR/apt.conf apt-get source -qq "$pkg=$v" >/dev/null 2>&1); then
      touch "$dir/.fetched"
      echo "$pkg $v" >>"$PREFIX/VERSIONS"
      echo "$dir"
      return
    fi
    log "$pkg $v could not be downloaded, trying an older revision"
  done
  echo "no revision of $pkg could be downloaded" >&2
  exit 1
}

# The unpacked tree inside a fetched folder (the one folder next to the .dsc).
tree() { find "$1" -mindepth 1 -maxdepth 1 -type d | head -n 1; }

cmake_build() {
  src=$1
  shift
  cmake -S "$src" -B "$src/_build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX" -DBUILD_SHARED_LIBS=OFF "$@" >/dev/null
  cmake --build "$src/_build" -j "$JOBS" >/dev/null
  cmake --install "$src/_build" >/dev/null
}

# --- libraries ---------------------------------------------------------------
# libpng (for PNG screenshots in the window tests): the library's sources
# compiled as they stand, without the test and tool programs of its build.
build_libpng() {
  log "libpng"
  src=$(tree "$(fetch libpng1.6)")
  mkdir -p "$src/_build"
  cp "$src/scripts/pnglibconf.h.prebuilt" "$src/_build/pnglibconf.h"
  for c in png pngerror pngget pngmem pngpread pngread pngrio pngrtran pngrutil pngset pngtrans \
           pngwio pngwrite pngwtran pngwutil; do
    $CC -O2 -I"$src/_build" -I"$src" -c "$src/$c.c" -o "$src/_build/$c.o"
  done
  rm -f "$PREFIX/lib/libpng16.a"
  $HOST-ar rcs "$PREFIX/lib/libpng16.a" "$src"/_build/*.o
  ln -sf libpng16.a "$PREFIX/lib/libpng.a"
  cp "$src/png.h" "$src/pngconf.h" "$src/_build/pnglibconf.h" "$PREFIX/include/"
  cat >"$PREFIX/lib/pkgconfig/libpng.pc" <<EOF
prefix=$PREFIX
Name: libpng
Description: PNG library (static)
Version: $(sed -n 's/^#define PNG_LIBPNG_VER_STRING "\(.*\)"/\1/p' "$src/png.h")
Libs: -L\${prefix}/lib -lpng16 -lz
Cflags: -I\${prefix}/include
EOF
}

# wxMSW, static, with only what the window and its tests use: the base and
# core libraries with the controls, dialogs and image support named below.
build_wx() {
  log "wxWidgets (the longest step)"
  src=$(tree "$(fetch wxwidgets3.2)")
  mkdir -p "$src/_build"
  (cd "$src/_build" && ../configure -q --host=$HOST --build="$(../config.guess)" \
      CC=$CC CXX=$CXX WINDRES=$HOST-windres \
      CPPFLAGS="-I$PREFIX/include" LDFLAGS="-L$PREFIX/lib" \
      --prefix="$PREFIX" --with-msw --disable-shared --enable-unicode \
      --disable-all-features --disable-tests --without-subdirs \
      --with-libpng=sys --with-zlib=sys --without-regex --without-expat \
      --without-libjpeg --without-libtiff --without-liblzma --without-opengl \
      --enable-std_iostreams --enable-std_string --enable-compat30 \
      --enable-threads --enable-exceptions --enable-log --enable-file --enable-ffile \
      --enable-streams --enable-datetime --enable-stopwatch --enable-timer --enable-longlong \
      --enable-dynlib --enable-dynamicloader --enable-sysoptions --enable-regkey \
      --enable-snglinst --enable-stdpaths --enable-fontmap --enable-intl --enable-variant \
      --enable-any --enable-autoidman --enable-uxtheme --enable-wxdib --enable-dccache \
      --enable-ole --enable-dataobj --enable-clipboard --enable-accel --enable-display \
      --enable-mousewheel --enable-tooltips --enable-artstd --enable-image --enable-xpm \
      --enable-ico_cur --enable-palette --enable-imaglist --enable-menubar --enable-treectrl \
      --enable-controls --enable-button --enable-checkbox --enable-choice --enable-combobox \
      --enable-gauge --enable-listctrl --enable-togglebtn --enable-notebook --enable-radiobtn --enable-statbmp \
      --enable-statbox --enable-stattext --enable-textctrl --enable-menus --enable-validators \
      --enable-commondlg --enable-filedlg --enable-msgdlg --enable-progressdlg --enable-uiactionsim \
      >"$src/_build/configure.log" 2>&1) || { tail -n 40 "$src/_build/configure.log" >&2; exit 1; }
  (cd "$src/_build" && make -s -j "$JOBS" >/dev/null 2>"$src/_build/make.log" && make -s install >/dev/null) ||
    { tail -n 40 "$src/_build/make.log" >&2; exit 1; }
}

# libcurl with the system's own TLS (Schannel) and nothing that needs
# another library.
build_curl() {
  log "curl"
  src=$(tree "$(fetch curl)")
  cmake_build "$src" -DBUILD_CURL_EXE=OFF -DBUILD_TESTING=OFF -DENABLE_MANUAL=OFF \
    -DCURL_USE_SCHANNEL=ON -DCURL_USE_OPENSSL=OFF -DCURL_USE_LIBSSH2=OFF -DCURL_USE_LIBSSH=OFF \
    -DCURL_USE_GSSAPI=OFF -DUSE_NGHTTP2=OFF -DUSE_LIBIDN2=OFF -DCURL_ZLIB=OFF -DCURL_BROTLI=OFF \
    -DCURL_ZSTD=OFF -DCURL_DISABLE_LDAP=ON -DCURL_DISABLE_LDAPS=ON -DENABLE_UNICODE=ON \
    -DPICKY_COMPILER=OFF
}

build_xlsxwriter() {
  log "libxlsxwriter"
  src=$(tree "$(fetch libxlsxwriter)")
  cmake_build "$src" -DBUILD_TESTS=OFF -DBUILD_EXAMPLES=OFF
  # Its CMake install writes no pkg-config file; the project finds it by one.
  cat >"$PREFIX/lib/pkgconfig/xlsxwriter.pc" <<EOF
prefix=$PREFIX
libdir=\${prefix}/lib
includedir=\${prefix}/include
Name: xlsxwriter
Description: xlsx workbook writer (static)
Version: $(sed -n 's/.*LXW_VERSION "\(.*\)".*/\1/p' "$src/include/xlsxwriter.h")
Libs: -L\${libdir} -lxlsxwriter -lz
Cflags: -I\${includedir}
EOF
}

# SQLite: the source package is the full source tree; its build generates the
# single-file amalgamation with tclsh on this machine, which then
# cross-compiles on its own.
build_sqlite() {
  log "SQLite"
  src=$(tree "$(fetch sqlite3)")
  mkdir -p "$src/_host"
  (cd "$src/_host" && ../configure -q --disable-tcl >/dev/null 2>&1 && make -s sqlite3.c >/dev/null 2>&1) ||
    { echo "the SQLite amalgamation could not be generated (is tclsh installed?)" >&2; exit 1; }
  $CC -O2 -DSQLITE_THREADSAFE=1 -DSQLITE_DQS=0 -DSQLITE_DEFAULT_FOREIGN_KEYS=1 \
    -c "$src/_host/sqlite3.c" -o "$src/_host/sqlite3.o"
  rm -f "$PREFIX/lib/libsqlite3.a"
  $HOST-ar rcs "$PREFIX/lib/libsqlite3.a" "$src/_host/sqlite3.o"
  cp "$src/_host/sqlite3.h" "$src/_host/sqlite3ext.h" "$PREFIX/include/"
  cat >"$PREFIX/lib/pkgconfig/sqlite3.pc" <<EOF
prefix=$PREFIX
Name: SQLite
Description: SQL database engine (static)
Version: $(sed -n 's/^#define SQLITE_VERSION *"\(.*\)"/\1/p' "$src/_host/sqlite3.h")
Libs: -L\${prefix}/lib -lsqlite3
Cflags: -I\${prefix}/include
EOF
}

# GoogleTest from the sources that Debian's libgtest-dev installs.
build_gtest() {
  log "GoogleTest"
  rm -rf "$WORK/src/googletest" && cp -r /usr/src/googletest "$WORK/src/googletest"
  echo "googletest $(dpkg-query -W -f='${Version}' libgtest-dev)" >>"$PREFIX/VERSIONS"
  cmake_build "$WORK/src/googletest" -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON -Dgtest_disable_pthreads=OFF
}

# cpp-httplib: the source's single header works header-only with Winsock.
build_httplib() {
  log "cpp-httplib"
  src=$(tree "$(fetch cpp-httplib)")
  cp "$src/httplib.h" "$PREFIX/include/"
  cat >"$PREFIX/lib/pkgconfig/cpp-httplib.pc" <<EOF
prefix=$PREFIX
Name: cpp-httplib
Description: HTTP server and client, header only
Version: $(sed -n 's/^#define CPPHTTPLIB_VERSION "\(.*\)"/\1/p' "$src/httplib.h")
Libs: -lws2_32
Cflags: -I\${prefix}/include
EOF
}

# Boost.Regex is header-only since Boost 1.76. Debian 12's default Boost is
# 1.74, which the Linux build keeps using: the 1.81 headers are unpacked here,
# never installed, and only those that <boost/regex.hpp> reaches are kept.
build_boost() {
  log "Boost.Regex headers"
  dir=$WORK/src/boost
  rm -rf "$dir" && mkdir -p "$dir"
  (cd "$dir" && apt-get download -qq libboost1.81-dev >/dev/null 2>&1) ||
    { echo "libboost1.81-dev could not be downloaded" >&2; exit 1; }
  dpkg-deb -f "$dir"/libboost1.81-dev_*.deb Version | sed 's/^/libboost1.81-dev /' >>"$PREFIX/VERSIONS"
  dpkg -x "$dir"/libboost1.81-dev_*.deb "$dir/x"
  echo '#include <boost/regex.hpp>' >"$dir/probe.cpp"
  $CXX -std=c++20 -M -I"$dir/x/usr/include" "$dir/probe.cpp" | tr ' \\' '\n\n' |
    sed -n "s|^$dir/x/usr/include/||p" | sort -u >"$dir/headers"
  (cd "$dir/x/usr/include" && xargs cp --parents -t "$PREFIX/include" <"$dir/headers")
  version=$(sed -n 's/^#define BOOST_LIB_VERSION "\(.*\)"/\1/p' "$PREFIX/include/boost/version.hpp" | tr _ .)
  mkdir -p "$PREFIX/lib/cmake/Boost-$version"
  sed "s/@VERSION@/$version.0/" "$HERE/BoostConfig.cmake.in" >"$PREFIX/lib/cmake/Boost-$version/BoostConfig.cmake"
  sed "s/@VERSION@/$version.0/" "$HERE/BoostConfigVersion.cmake.in" >"$PREFIX/lib/cmake/Boost-$version/BoostConfigVersion.cmake"
}

: >"$PREFIX/VERSIONS"
setup_apt
build_boost
build_httplib
build_libpng
build_curl
build_xlsxwriter
build_sqlite
build_gtest
build_wx
log "done: $PREFIX"
