# Includes go one way: the platform layer never includes the module or the
# tools, and the tools reach the module only through its public contract
# (the framework and Win32 headers), never a module folder.
# Run as: cmake -DSOURCE_DIR=... -P include_rules.cmake
set(module_folders "driver|job|hpgl|rtl|image|render|ui")
set(tool_folders "commands|host|playback|gdi|output|tools|plotview|reader|picture|cli|ppd|filter")
set(faults "")

file(GLOB_RECURSE platform_files ${SOURCE_DIR}/platform/*.h ${SOURCE_DIR}/platform/*.cpp)
foreach(file ${platform_files})
  file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"(${module_folders}|${tool_folders})/")
  foreach(line ${lines})
    list(APPEND faults "${file}: ${line}")
  endforeach()
endforeach()

file(GLOB_RECURSE tool_files ${SOURCE_DIR}/tools/*.h ${SOURCE_DIR}/tools/*.cpp)
foreach(file ${tool_files})
  file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"(${module_folders})/")
  foreach(line ${lines})
    list(APPEND faults "${file}: ${line}")
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "includes against the layering:\n  ${text}")
endif()
list(LENGTH platform_files n_platform)
list(LENGTH tool_files n_tools)
message(STATUS "include rules hold in ${n_platform} platform and ${n_tools} tool files")
