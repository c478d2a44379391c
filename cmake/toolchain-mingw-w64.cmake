# Cross build for Windows x86-64 with Debian's MinGW-w64 compilers (posix
# thread model, which std::thread needs) against the dependency prefix that
# scripts/windows/deps.sh builds. scripts/build-windows.sh passes the prefix
# as GLEANER_WIN_PREFIX; the environment variable of the same name works too.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(GLEANER_WIN_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${GLEANER_WIN_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${GLEANER_WIN_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${GLEANER_WIN_TRIPLE}-windres)

if(NOT GLEANER_WIN_PREFIX AND DEFINED ENV{GLEANER_WIN_PREFIX})
  set(GLEANER_WIN_PREFIX "$ENV{GLEANER_WIN_PREFIX}")
endif()
# try_compile projects read this file again and need the prefix too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES GLEANER_WIN_PREFIX)

set(CMAKE_FIND_ROOT_PATH /usr/${GLEANER_WIN_TRIPLE} ${GLEANER_WIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

if(GLEANER_WIN_PREFIX)
  # pkg-config sees the prefix's .pc files only, never the build machine's.
  set(ENV{PKG_CONFIG_LIBDIR} "${GLEANER_WIN_PREFIX}/lib/pkgconfig")
  set(ENV{PKG_CONFIG_PATH} "")
  set(wxWidgets_CONFIG_EXECUTABLE "${GLEANER_WIN_PREFIX}/bin/wx-config" CACHE FILEPATH "wx-config of the cross-built wxMSW")
endif()

# zlib comes with an import library too; wx-config's -lz under -static must
# find the same static archive that FindZLIB chose.
set(ZLIB_USE_STATIC_LIBS ON)

# Self-contained programs: no libstdc++, libgcc or winpthread DLL to ship.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# add_test() commands run under Wine here.
find_program(GLEANER_WINE NAMES wine wine64)
if(GLEANER_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${GLEANER_WINE})
endif()
