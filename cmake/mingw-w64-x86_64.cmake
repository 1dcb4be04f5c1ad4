# Cross-compiling for 64-bit Windows with Debian's mingw-w64 toolchain.
#
# Used twice:
#  - by tools/build-windows-deps to build Qt, SQLite and libmdb into the
#    dependency prefix (which does not exist yet at that point), and
#  - to configure this project against that prefix:
#      cmake -G Ninja -S . -B build-win \
#        -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#        -DTALVEX_WIN_DEPS="$(tools/build-windows-deps --print-prefix)"
#
# The posix thread model compilers are required: Qt needs std::thread and
# friends, which the win32 thread model of Debian's gcc 12 does not provide.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TALVEX_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TALVEX_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TALVEX_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TALVEX_MINGW_TRIPLE}-windres)
set(CMAKE_AR ${TALVEX_MINGW_TRIPLE}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${TALVEX_MINGW_TRIPLE}-gcc-ranlib-posix CACHE FILEPATH "")

# The dependency prefix: a cache variable, defaulting to the environment
# variable of the same name, else to what the build script says it would be.
# It is also kept in the environment of this CMake process, as try_compile()
# projects read this file again without the main project's cache.
if(NOT TALVEX_WIN_DEPS)
  if(DEFINED ENV{TALVEX_WIN_DEPS} AND NOT "$ENV{TALVEX_WIN_DEPS}" STREQUAL "")
    set(_talvex_deps "$ENV{TALVEX_WIN_DEPS}")
  elseif(EXISTS "${CMAKE_CURRENT_LIST_DIR}/../tools/build-windows-deps")
    execute_process(
      COMMAND "${CMAKE_CURRENT_LIST_DIR}/../tools/build-windows-deps" --print-prefix
      OUTPUT_VARIABLE _talvex_deps
      OUTPUT_STRIP_TRAILING_WHITESPACE
      RESULT_VARIABLE _talvex_result)
    if(NOT _talvex_result EQUAL 0)
      set(_talvex_deps "")
    endif()
  endif()
  set(TALVEX_WIN_DEPS "${_talvex_deps}" CACHE PATH
      "Prefix holding the Windows builds of Qt, SQLite and libmdb")
endif()
set(ENV{TALVEX_WIN_DEPS} "${TALVEX_WIN_DEPS}")
# Set (to ON) by tools/build-windows-deps while it builds the prefix itself.
if(NOT DEFINED TALVEX_BUILDING_WIN_DEPS AND DEFINED ENV{TALVEX_BUILDING_WIN_DEPS})
  set(TALVEX_BUILDING_WIN_DEPS "$ENV{TALVEX_BUILDING_WIN_DEPS}")
endif()
if(TALVEX_BUILDING_WIN_DEPS)
  set(ENV{TALVEX_BUILDING_WIN_DEPS} ON)
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TALVEX_WIN_DEPS TALVEX_BUILDING_WIN_DEPS)

set(CMAKE_FIND_ROOT_PATH "${TALVEX_WIN_DEPS}" /usr/${TALVEX_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config looks only at the prefix, never at the build machine's .pc files.
# The .pc files there hold absolute paths, hence no sysroot.
set(ENV{PKG_CONFIG_LIBDIR} "${TALVEX_WIN_DEPS}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")

# Qt's moc, uic, rcc... come from the build machine's Qt of the same version.
set(QT_HOST_PATH "/usr" CACHE PATH "Host Qt installation for the Qt tools")
set(QT_HOST_PATH_CMAKE_DIR "/usr/lib/x86_64-linux-gnu/cmake" CACHE PATH
    "CMake package directory of the host Qt")

# When a project (not the dependencies themselves) is configured, the prefix
# must hold a finished build, and CTest runs the .exe tests under Wine
# through our wrapper, with Qt's and the mingw runtime's DLLs on the path.
if(NOT TALVEX_BUILDING_WIN_DEPS)
  if(NOT EXISTS "${TALVEX_WIN_DEPS}/talvex-deps.stamp")
    message(FATAL_ERROR
      "No Windows dependencies in '${TALVEX_WIN_DEPS}': run tools/build-windows-deps, "
      "then pass -DTALVEX_WIN_DEPS=\"$(tools/build-windows-deps --print-prefix)\".")
  endif()
  set(CMAKE_CROSSCOMPILING_EMULATOR
      "${CMAKE_CURRENT_LIST_DIR}/../tools/windows/wine-run;--dll-dir;${TALVEX_WIN_DEPS}/bin")
endif()
