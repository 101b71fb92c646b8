# The platform layer on Windows, where Win32 is the system's and the Linux
# stand-ins (kernel32/, gdi32/, user32/) are not built. What the module and
# the host need that Windows lacks comes from the shared sources listed here
# and from this folder, whose files replace the Linux ones of the same name:
# the MFC subset on the system's dialogs and threads, the metafile player
# with its fonts on GDI and its text shaped by Uniscribe (for plothost), the
# presenters, the thread count.
# It is linked into PXRDriver.dll, which exports it.
set(dir ${CMAKE_CURRENT_SOURCE_DIR})
file(GLOB WIN32_SOURCES CONFIGURE_DEPENDS ${dir}/mfc/*.cpp ${dir}/gdi32/emf/*.cpp
     ${dir}/gdi32/metafile/*.cpp ${dir}/gdi32/dib/*.cpp)
list(APPEND WIN32_SOURCES ${dir}/kernel32/thread_registry.cpp ${dir}/kernel32/text_decoding.cpp
     ${dir}/user32/ui_presenter.cpp)
# Of the fonts, what does not depend on where glyphs come from: the glyph
# cache, flattening, face names, the faces of a run.
list(APPEND WIN32_SOURCES ${dir}/gdi32/fonts/glyph_cache.cpp ${dir}/gdi32/fonts/glyph_flattening.cpp
     ${dir}/gdi32/fonts/face_name.cpp ${dir}/gdi32/fonts/text_runs.cpp)
# The raster GDI of Linux (cairo: gdi32/metafile/raster_*.cpp) and its
# PlayEnhMetaFile: Windows has its own.
list(FILTER WIN32_SOURCES EXCLUDE REGEX "/gdi32/metafile/(raster_[a-z_]+|enh_metafile)\\.cpp$")
file(GLOB WINDOWS_SOURCES CONFIGURE_DEPENDS ${dir}/windows/*.cpp)
foreach(windows_source ${WINDOWS_SOURCES})
  get_filename_component(name ${windows_source} NAME)
  list(FILTER WIN32_SOURCES EXCLUDE REGEX "/${name}$")
endforeach()
list(APPEND WIN32_SOURCES ${WINDOWS_SOURCES})

# What every user of the platform layer compiles with: the system's
# windows.h (our headers are reached by quoted includes only, the Windows
# overlays of windows/include first), MFC's headers, the system libraries.
add_library(win32 INTERFACE)
target_compile_options(win32 INTERFACE "SHELL:-iquote ${dir}/windows/include"
                                       "SHELL:-iquote ${dir}/include")
target_include_directories(win32 INTERFACE ${dir}/mfc/include)
target_link_libraries(win32 INTERFACE usp10 user32 gdi32 comctl32 comdlg32 ws2_32)

add_library(win32_objects OBJECT ${WIN32_SOURCES})
target_include_directories(win32_objects PRIVATE ${dir})
target_compile_definitions(win32_objects PRIVATE HPGL2_BUILDING_PXRDRIVER)
target_link_libraries(win32_objects PUBLIC win32)
# The framework's own messages (dialog data exchange), linked into
# PXRDriver.dll's resources.
set(WIN32_RESOURCE_SCRIPT ${dir}/mfc/resources/afx_strings.rc PARENT_SCOPE)
