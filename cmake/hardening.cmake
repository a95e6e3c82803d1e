# The hardening Debian builds its packages with, for GCC and Clang: vesk
# reads files that come from anywhere. Every tree gets it (the Release tree
# of the packages, a plain cmake build, the test trees), except those built
# with the sanitizers or for fuzzing, whose checks are finer and which
# fortified calls would get in the way of (AddressSanitizer replaces the
# same functions), and the coverage tree, which only counts. -DVESK_HARDENING=OFF leaves the flags to the packager.
#
# - Linux and other ELF systems: fortified libc calls (_FORTIFY_SOURCE, in
#   the optimised configurations only, since it works from what the
#   optimiser knows of object sizes), canaries in every function with an
#   array or the address of a local, stack clash protection, full RELRO
#   with all symbols bound at start, and position-independent programs.
# - Windows (MinGW): canaries, from GCC's static libssp, so that vesk.exe
#   stays free of DLLs beyond those of Windows itself; ASLR (with 64-bit
#   entropy) and DEP are asked of the linker by name, not left to its
#   defaults.
# - MSVC: its defaults (/GS, /DYNAMICBASE, /NXCOMPAT, /HIGHENTROPYVA) are
#   the same protections; nothing is added.
option(VESK_HARDENING "Build with fortified libc calls, stack protection, full RELRO and PIE" ON)
if(NOT VESK_HARDENING OR MSVC OR VESK_SANITIZE OR VESK_FUZZ OR VESK_COVERAGE)
  return()
endif()

include(CheckCXXCompilerFlag)
include(CheckCXXSourceCompiles)
include(CheckLinkerFlag)

check_cxx_compiler_flag(-fstack-protector-strong VESK_HAS_STACK_PROTECTOR_STRONG)
if(VESK_HAS_STACK_PROTECTOR_STRONG)
  add_compile_options(-fstack-protector-strong)
  # At the link too: there MinGW's GCC adds the library the canaries need.
  add_link_options(-fstack-protector-strong)
endif()

if(WIN32)
  check_linker_flag(CXX "LINKER:--dynamicbase,--nxcompat,--high-entropy-va" VESK_HAS_PE_ASLR_DEP)
  if(VESK_HAS_PE_ASLR_DEP)
    add_link_options("LINKER:--dynamicbase,--nxcompat,--high-entropy-va")
  endif()
  return()
endif()

# Windows probes every new stack page anyway; ELF systems need asking.
check_cxx_compiler_flag(-fstack-clash-protection VESK_HAS_STACK_CLASH_PROTECTION)
if(VESK_HAS_STACK_CLASH_PROTECTION)
  add_compile_options(-fstack-clash-protection)
endif()

check_linker_flag(CXX "LINKER:-z,relro,-z,now" VESK_HAS_RELRO_NOW)
if(VESK_HAS_RELRO_NOW)
  add_link_options("LINKER:-z,relro,-z,now")
endif()

include(CheckPIESupported)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
check_pie_supported(OUTPUT_VARIABLE vesk_pie_message LANGUAGES CXX)
if(NOT CMAKE_CXX_LINK_PIE_SUPPORTED)
  message(STATUS "Programs are not linked as PIE: ${vesk_pie_message}")
endif()

# A packager's own _FORTIFY_SOURCE (in CXXFLAGS) stands. Otherwise level 3
# where the compiler and the C library know it (GCC 12, Clang 9 and glibc
# 2.34 on), else 2; a compiler that defines a level of its own (Ubuntu's
# GCC does) has it undefined first, so that the two do not clash.
string(TOUPPER "${CMAKE_BUILD_TYPE}" vesk_build_type)
if("${CMAKE_CXX_FLAGS} ${CMAKE_CXX_FLAGS_${vesk_build_type}}" MATCHES "_FORTIFY_SOURCE")
  message(STATUS "_FORTIFY_SOURCE is left to CMAKE_CXX_FLAGS")
  return()
endif()
foreach(level 3 2)
  set(CMAKE_REQUIRED_FLAGS "-O2 -U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=${level}")
  check_cxx_source_compiles("
    #include <cstdio>
    #if !defined(__USE_FORTIFY_LEVEL) || __USE_FORTIFY_LEVEL != ${level}
    #error fortified calls of this level are not available
    #endif
    int main() { return 0; }" VESK_HAS_FORTIFY_SOURCE_${level})
  unset(CMAKE_REQUIRED_FLAGS)
  if(VESK_HAS_FORTIFY_SOURCE_${level})
    add_compile_options(
      "$<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=${level}>")
    break()
  endif()
endforeach()
