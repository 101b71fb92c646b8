# Resource scripts compiled by binutils' windres into .res images, which the
# binaries carry as bytes (generated C++ arrays), as a Windows build carries
# its .rsrc section.
find_program(HPGL2_WINDRES NAMES i686-w64-mingw32-windres x86_64-w64-mingw32-windres windres
             REQUIRED)

# hpgl2_compile_resources(RC_FILE SYMBOL OUT_VAR): compiles RC_FILE and sets
# OUT_VAR to the generated source that defines SYMBOL and SYMBOLSize.
function(hpgl2_compile_resources rc symbol out_var)
  get_filename_component(rc_dir ${rc} DIRECTORY)
  get_filename_component(rc_name ${rc} NAME_WE)
  set(res ${CMAKE_BINARY_DIR}/resources/${rc_name}.res)
  set(cpp ${CMAKE_BINARY_DIR}/resources/${rc_name}_res.cpp)
  file(GLOB depends CONFIGURE_DEPENDS ${rc_dir}/*)
  add_custom_command(
    OUTPUT ${res}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/resources
    COMMAND ${HPGL2_WINDRES} --preprocessor=cpp --preprocessor-arg=-P
            -I${CMAKE_SOURCE_DIR}/platform/win32/include -I${rc_dir} ${rc} -O res -o ${res}
    WORKING_DIRECTORY ${rc_dir}
    DEPENDS ${depends} ${CMAKE_SOURCE_DIR}/platform/win32/include/win32/user32/window_styles.h
    COMMENT "Compiling the resource script ${rc_name}.rc")
  add_custom_command(
    OUTPUT ${cpp}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${res} -DOUTPUT=${cpp} -DSYMBOL=${symbol}
            -P ${CMAKE_SOURCE_DIR}/cmake/embed_bytes.cmake
    DEPENDS ${res} ${CMAKE_SOURCE_DIR}/cmake/embed_bytes.cmake)
  set(${out_var} ${cpp} PARENT_SCOPE)
endfunction()
