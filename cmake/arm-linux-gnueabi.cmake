# arm-linux-gnueabi.cmake: cross-compiles for the console's main core (ARM920T: ARMv4T, ARM state)
# with Debian's arm-linux-gnueabi compilers or the console's own SDK, whose prefix (path and
# triplet, e.g. /opt/sdk/bin/arm-linux-) is CB_CROSS_PREFIX and whose root, if any, CMAKE_SYSROOT.
# The programs built with it run on this machine under CB_CROSS_EMULATOR (qemu-arm): ctest and the
# test discovery go through it. Programs link statically unless CB_CROSS_STATIC is off.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR arm)

if(NOT DEFINED CB_CROSS_PREFIX)
  set(CB_CROSS_PREFIX "$ENV{CB_CROSS_PREFIX}")
  if(NOT CB_CROSS_PREFIX)
    set(CB_CROSS_PREFIX arm-linux-gnueabi-)
  endif()
endif()
set(CB_CROSS_PREFIX "${CB_CROSS_PREFIX}" CACHE STRING "Prefix of the cross compilers: path and triplet")
# qemu's ARM926 (ARMv5TE) is the oldest core it models that runs Debian's armel C and C++
# libraries; our own code is ARMv4T. With an SDK built for ARMv4T, qemu-arm;-cpu;ti925t is closer.
set(CB_CROSS_EMULATOR "qemu-arm;-cpu;arm926" CACHE STRING "Runs the cross-built programs on this machine")
# The project links its programs statically when this is on (copperbramble only when its libraries
# are static archives too).
set(CB_CROSS_STATIC ON CACHE BOOL "Link the cross-built programs statically")
# The compiler checks are separate projects: they are handed the prefix too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES CB_CROSS_PREFIX)

set(CMAKE_C_COMPILER ${CB_CROSS_PREFIX}gcc)
set(CMAKE_CXX_COMPILER ${CB_CROSS_PREFIX}g++)
set(CMAKE_C_FLAGS_INIT "-march=armv4t -mtune=arm920t -marm")
set(CMAKE_CXX_FLAGS_INIT "-march=armv4t -mtune=arm920t -marm")

# Libraries and headers come from the target's root only. Without an SDK root that is Debian's
# multiarch layout: the cross C library under /usr/arm-linux-gnueabi, armel packages beside the
# host's in /usr/lib/arm-linux-gnueabi (found through the compiler's library architecture).
# Roots given with -DCMAKE_FIND_ROOT_PATH are searched as well.
if(CMAKE_SYSROOT)
  list(APPEND CMAKE_FIND_ROOT_PATH ${CMAKE_SYSROOT})
  set(cb_target_root ${CMAKE_SYSROOT})
  set(ENV{PKG_CONFIG_SYSROOT_DIR} ${CMAKE_SYSROOT})
  set(ENV{PKG_CONFIG_LIBDIR} "${CMAKE_SYSROOT}/usr/lib/pkgconfig:${CMAKE_SYSROOT}/usr/lib/arm-linux-gnueabi/pkgconfig:${CMAKE_SYSROOT}/usr/share/pkgconfig")
else()
  list(APPEND CMAKE_FIND_ROOT_PATH /usr/arm-linux-gnueabi /)
  set(cb_target_root /usr/arm-linux-gnueabi)
  set(ENV{PKG_CONFIG_LIBDIR} "/usr/lib/arm-linux-gnueabi/pkgconfig:/usr/share/pkgconfig")
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# A dynamically linked program finds its loader and libraries under the target's root.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CB_CROSS_EMULATOR} -L ${cb_target_root})
