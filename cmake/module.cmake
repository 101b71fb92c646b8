# The plotter driver module. Its code is built once as a static library, so
# that the test suites reach every part of it, and linked into HPGL2.pxr,
# whose only export is IT_Driver.
set(HPGL2_MODULE_DIRS driver job hpgl rtl image render ui)
set(HPGL2_MODULE_SOURCES)
foreach(dir ${HPGL2_MODULE_DIRS})
  hpgl2_platform_sources(dir_sources ${CMAKE_SOURCE_DIR}/${dir})
  list(APPEND HPGL2_MODULE_SOURCES ${dir_sources})
endforeach()
list(REMOVE_ITEM HPGL2_MODULE_SOURCES ${CMAKE_SOURCE_DIR}/driver/it_driver.cpp)

# The resource script of the dialogs and strings, compiled by windres. On
# Linux the module carries the compiled bytes and registers them with the
# Win32 subset when it is first asked for a dialog or a string; on Windows
# they are the module file's own resources.
if(NOT WIN32)
  hpgl2_compile_resources(${CMAKE_SOURCE_DIR}/ui/resources/hpgl2.rc kHpgl2Resources HPGL2_RES_CPP)
  list(APPEND HPGL2_MODULE_SOURCES ${HPGL2_RES_CPP})
endif()

add_library(hpgl2_core STATIC ${HPGL2_MODULE_SOURCES})
target_include_directories(hpgl2_core PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(hpgl2_core PUBLIC PXRDriver win32)
set_target_properties(hpgl2_core PROPERTIES CXX_VISIBILITY_PRESET hidden
                                            VISIBILITY_INLINES_HIDDEN ON)

if(WIN32)
  add_library(HPGL2 MODULE ${CMAKE_SOURCE_DIR}/driver/it_driver.cpp
                           ${CMAKE_SOURCE_DIR}/ui/resources/hpgl2.rc)
  # The resource script's style names come from a plain header of the
  # platform layer.
  target_include_directories(HPGL2 PRIVATE
    $<$<COMPILE_LANGUAGE:RC>:${CMAKE_SOURCE_DIR}/platform/win32/include>)
  target_link_libraries(HPGL2 PRIVATE hpgl2_core)
  set_target_properties(HPGL2 PROPERTIES PREFIX "" SUFFIX ".pxr" OUTPUT_NAME HPGL2)
  return()
endif()
add_library(HPGL2 MODULE ${CMAKE_SOURCE_DIR}/driver/it_driver.cpp)
target_link_libraries(HPGL2 PRIVATE hpgl2_core)
set_target_properties(HPGL2 PROPERTIES PREFIX "" SUFFIX ".pxr" OUTPUT_NAME HPGL2
                                       CXX_VISIBILITY_PRESET hidden
                                       VISIBILITY_INLINES_HIDDEN ON
                                       LINK_DEPENDS ${CMAKE_SOURCE_DIR}/driver/exports.map)
target_link_options(HPGL2 PRIVATE -Wl,--version-script=${CMAKE_SOURCE_DIR}/driver/exports.map)
# Every symbol of the module must resolve at link time, except in the fuzzing
# build, where clang leaves the sanitizer runtime to the executable.
if(NOT HPGL2_FUZZ)
  target_link_options(HPGL2 PRIVATE -Wl,--no-undefined)
endif()
