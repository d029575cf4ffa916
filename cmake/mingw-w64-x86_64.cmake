# Cross-compiles for 64-bit Windows with Debian's mingw-w64 compilers (the
# "posix" flavour, whose C++ runtime has std::thread and std::mutex).
#
# The target's libraries live in a prefix built by scripts/build-windows.sh:
# ZANDROVIA_WINDOWS_PREFIX (a cache variable or the environment), default
# build-windows/prefix in the source tree. Nothing is looked up in the
# build machine's own folders: libraries, headers, CMake packages and
# pkg-config files come from the mingw sysroot and the prefix only.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZANDROVIA_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZANDROVIA_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZANDROVIA_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ZANDROVIA_MINGW_TRIPLE}-windres)

if(NOT ZANDROVIA_WINDOWS_PREFIX)
  if(DEFINED ENV{ZANDROVIA_WINDOWS_PREFIX} AND NOT "$ENV{ZANDROVIA_WINDOWS_PREFIX}" STREQUAL "")
    set(ZANDROVIA_WINDOWS_PREFIX "$ENV{ZANDROVIA_WINDOWS_PREFIX}")
  else()
    get_filename_component(ZANDROVIA_WINDOWS_PREFIX "${CMAKE_CURRENT_LIST_DIR}/../build-windows/prefix" ABSOLUTE)
  endif()
endif()
get_filename_component(ZANDROVIA_WINDOWS_PREFIX "${ZANDROVIA_WINDOWS_PREFIX}" ABSOLUTE)
set(ZANDROVIA_WINDOWS_PREFIX "${ZANDROVIA_WINDOWS_PREFIX}" CACHE PATH "Prefix holding the Windows libraries")
# try_compile projects read this file again; they get the prefix through the
# environment.
set(ENV{ZANDROVIA_WINDOWS_PREFIX} "${ZANDROVIA_WINDOWS_PREFIX}")

set(CMAKE_FIND_ROOT_PATH /usr/${ZANDROVIA_MINGW_TRIPLE} ${ZANDROVIA_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
list(APPEND CMAKE_PREFIX_PATH ${ZANDROVIA_WINDOWS_PREFIX})

# pkg-config reads the prefix's .pc files and no others.
set(ENV{PKG_CONFIG_LIBDIR} "${ZANDROVIA_WINDOWS_PREFIX}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")

# Test programs and anything else the build runs go through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
