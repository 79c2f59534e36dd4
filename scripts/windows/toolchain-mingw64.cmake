# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (posix threads,
# so std::thread and std::mutex work). Libraries, headers and CMake packages
# are looked for only in the MinGW root and in the prefixes listed in
# KQ_WINDOWS_PREFIXES (the cached Windows dependencies); programs (moc and
# the other host tools) only on the host.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KQ_WINDOWS_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KQ_WINDOWS_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KQ_WINDOWS_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KQ_WINDOWS_TRIPLE}-windres)
set(CMAKE_AR ${KQ_WINDOWS_TRIPLE}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${KQ_WINDOWS_TRIPLE}-gcc-ranlib-posix CACHE FILEPATH "")

# Passed down to try_compile projects, which see only listed variables.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES KQ_WINDOWS_PREFIXES)
set(CMAKE_FIND_ROOT_PATH /usr/${KQ_WINDOWS_TRIPLE} ${KQ_WINDOWS_PREFIXES})
set(CMAKE_PREFIX_PATH ${KQ_WINDOWS_PREFIXES})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config answers from the Windows .pc files only, never the host's.
set(_kq_pc_dirs /usr/${KQ_WINDOWS_TRIPLE}/lib/pkgconfig)
foreach(_kq_prefix IN LISTS KQ_WINDOWS_PREFIXES)
  list(APPEND _kq_pc_dirs ${_kq_prefix}/lib/pkgconfig)
endforeach()
list(JOIN _kq_pc_dirs ":" _kq_pc_path)
set(ENV{PKG_CONFIG_LIBDIR} "${_kq_pc_path}")
set(ENV{PKG_CONFIG_PATH} "")
