# One source tree for Linux and Windows: where a source needs another
# implementation on Windows, that one lies in a folder windows/ beside it,
# under the same file name, and CMake picks it.
#
# hpgl2_platform_sources(OUT_VAR DIR...): the .cpp files of each DIR; on
# Windows a file of DIR/windows/ replaces the one of the same name in DIR,
# and the other files of DIR/windows/ join them.
function(hpgl2_platform_sources out_var)
  set(result)
  foreach(dir ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
    if(WIN32)
      file(GLOB windows_sources CONFIGURE_DEPENDS ${dir}/windows/*.cpp)
      foreach(windows_source ${windows_sources})
        get_filename_component(name ${windows_source} NAME)
        list(REMOVE_ITEM sources ${dir}/${name})
      endforeach()
      list(APPEND sources ${windows_sources})
    endif()
    list(APPEND result ${sources})
  endforeach()
  set(${out_var} ${result} PARENT_SCOPE)
endfunction()
