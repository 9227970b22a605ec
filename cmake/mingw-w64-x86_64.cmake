# Toolchain for 64-bit Windows programs built on Debian with mingw-w64 (the
# posix-threads variant of GCC, whose C++ library has std::thread).
#
# VESKFRAME_WINDOWS_DEPS (a cache variable or an environment variable of the
# same name) names the dependency prefix that scripts/windows-deps.sh builds:
# GLFW, lodepng, stb_vorbis and GoogleTest as static libraries and OpenAL Soft
# as OpenAL32.dll. Headers, libraries, CMake packages and pkg-config files are
# looked up only there and in the mingw-w64 sysroot, never on the host.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VF_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VF_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VF_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VF_MINGW_TRIPLE}-windres)

if(NOT VESKFRAME_WINDOWS_DEPS AND DEFINED ENV{VESKFRAME_WINDOWS_DEPS})
  set(VESKFRAME_WINDOWS_DEPS "$ENV{VESKFRAME_WINDOWS_DEPS}")
endif()
# try_compile projects run this file again and need the same prefix.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VESKFRAME_WINDOWS_DEPS)

set(CMAKE_FIND_ROOT_PATH /usr/${VF_MINGW_TRIPLE} ${VESKFRAME_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config sees only the prefix's .pc files (none at all without a prefix,
# so a host library can never slip into a Windows build).
set(ENV{PKG_CONFIG_PATH} "")
if(VESKFRAME_WINDOWS_DEPS)
  set(ENV{PKG_CONFIG_LIBDIR} "${VESKFRAME_WINDOWS_DEPS}/lib/pkgconfig")
else()
  set(ENV{PKG_CONFIG_LIBDIR} "${CMAKE_CURRENT_LIST_DIR}/no-pkgconfig-dir")
endif()

# Programs carry the C, C++ and thread runtimes inside the .exe: without the
# mingw-w64 runtime DLLs beside it, a dynamically linked program does not
# start at all. OpenAL32.dll stays a DLL (linked through its import library).
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Test programs run under Wine on the build machine.
find_program(VF_WINE wine)
if(VF_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VF_WINE})
endif()
