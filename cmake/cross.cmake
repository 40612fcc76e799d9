# The launcher program of every other architecture a cross compiler is
# installed for: build/lxlauncher-<arch> next to the program of this
# machine, so that lxpack here makes launchers for either. Each is built by
# a configuration of its own that compiles only the launcher program
# (LX_LAUNCHER_ONLY) with the cross toolchain, and is rebuilt with every
# build so that it never lags behind the sources.
option(LX_CROSS "Also build the launcher program for the other architectures whose cross compilers are installed" ON)

set(LX_ARCHITECTURES x86_64 aarch64)
set(LX_NATIVE_ARCH ${CMAKE_SYSTEM_PROCESSOR})
if(LX_NATIVE_ARCH STREQUAL "arm64")
  set(LX_NATIVE_ARCH aarch64)
endif()

# LX_LAUNCHER_PROGRAM_<arch>: the launcher program of each architecture
# this build makes (the tests run them, the demo packs them).
set(LX_LAUNCHER_PROGRAM_${LX_NATIVE_ARCH} $<TARGET_FILE:lxlauncher>)

if(LX_CROSS AND NOT LX_SANITIZE AND NOT LX_FUZZ)
  include(ExternalProject)
  foreach(arch ${LX_ARCHITECTURES})
    if(arch STREQUAL LX_NATIVE_ARCH)
      continue()
    endif()
    find_program(LX_CROSS_CXX_${arch} ${arch}-linux-gnu-g++)
    if(NOT LX_CROSS_CXX_${arch})
      message(STATUS "No ${arch}-linux-gnu-g++: the ${arch} launcher program is not built")
      continue()
    endif()
    set(program ${CMAKE_BINARY_DIR}/lxlauncher-${arch})
    ExternalProject_Add(lxlauncher_${arch}
      SOURCE_DIR ${CMAKE_SOURCE_DIR}
      BINARY_DIR ${CMAKE_BINARY_DIR}/cross-${arch}
      CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/toolchains/${arch}-linux-gnu.cmake
                 -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE} -DLX_LAUNCHER_ONLY=ON -DLX_TESTS=OFF
      INSTALL_COMMAND ${CMAKE_COMMAND} -E copy <BINARY_DIR>/lxlauncher ${program}
      BUILD_ALWAYS ON
      BUILD_BYPRODUCTS ${program})
    set(LX_LAUNCHER_PROGRAM_${arch} ${program})
  endforeach()
endif()
