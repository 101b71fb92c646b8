# The Windows build, cross-compiled with mingw-w64 (cmake/mingw-w64-*.cmake,
# scripts/windows-build.sh). Kernel, user, GDI and common-control calls go
# to the system; the platform layer adds only what Windows lacks, inside
# PXRDriver.dll. The C++ runtime (libstdc++, libgcc, winpthreads) is linked
# statically into every product, so that they need only Windows' own DLLs.
if(HPGL2_SANITIZE OR HPGL2_TSAN OR HPGL2_FUZZ)
  message(FATAL_ERROR "the sanitizers and fuzzers are Linux builds")
endif()
enable_language(RC)
add_link_options(-static)
# Windows 7 and later: GetModuleHandleExA, the dialog functions used here.
# NOMINMAX keeps min and max the standard library's.
add_compile_definitions(_WIN32_WINNT=0x0601 WINVER=0x0601 NOMINMAX)

# Clipper, the region algebra of PXRDriver: Debian ships it for Linux only,
# so the Windows build compiles the same release from Debian's source
# package (scripts/windows-build.sh unpacks it), which keeps the plots of
# the two builds byte for byte the same.
set(HPGL2_CLIPPER_SOURCE_DIR "" CACHE PATH "folder with clipper.cpp and clipper.hpp")
if(NOT EXISTS "${HPGL2_CLIPPER_SOURCE_DIR}/clipper.cpp")
  message(FATAL_ERROR "HPGL2_CLIPPER_SOURCE_DIR must name the folder of Clipper's clipper.cpp "
                      "(scripts/windows-build.sh fetches Debian's source package)")
endif()
add_library(polyclipping STATIC ${HPGL2_CLIPPER_SOURCE_DIR}/clipper.cpp)
target_include_directories(polyclipping SYSTEM PUBLIC ${HPGL2_CLIPPER_SOURCE_DIR})
# Not our code: its warnings are not ours to fix.
target_compile_options(polyclipping PRIVATE -w)
add_library(PkgConfig::POLYCLIPPING ALIAS polyclipping)

# The C runtime's printf of mingw's own (%zu, %lld as C99 has them); M_PI.
add_compile_definitions(__USE_MINGW_ANSI_STDIO=1 _USE_MATH_DEFINES)
# DWORD is unsigned long on Windows and unsigned int on Linux: the formats of
# the shared sources are checked by the Linux build, where they are exact.
add_compile_options(-Wno-format)
