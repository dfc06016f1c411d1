# The layers point one way: front -> translate -> access -> suite -> tree/platform.
# Reads the #include lines of every source file and fails, naming the file and
# the header, where a folder includes a header of a layer above it.
#   cmake -DSOURCE_DIR=<repository> -P LayerCheck.cmake
cmake_minimum_required(VERSION 3.25)

# folder | folders it must not include from | headers allowed all the same
set(rules
  "tree|access suite translate front|"
  "suite|access translate front|"
  "platform|access translate front|"
  "access|translate front|"
  # The translators use the writer library of the front end, nothing else of it.
  "translate|front|front/XlatorOutput.h front/Fatal.h front/XlatorOptions.h")

set(faults "")
foreach(rule IN LISTS rules)
  string(REPLACE "|" ";" parts "${rule}")
  list(GET parts 0 folder)
  list(GET parts 1 above)
  list(GET parts 2 allowed)
  separate_arguments(above)
  separate_arguments(allowed)
  file(GLOB_RECURSE files RELATIVE "${SOURCE_DIR}"
       "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp" "${SOURCE_DIR}/${folder}/*.def")
  foreach(file IN LISTS files)
    file(STRINGS "${SOURCE_DIR}/${file}" lines REGEX "^[ \t]*#[ \t]*include")
    foreach(line IN LISTS lines)
      if(NOT line MATCHES "#[ \t]*include[ \t]*[\"<]([^\">]+)[\">]")
        continue()
      endif()
      set(header "${CMAKE_MATCH_1}")
      string(REGEX REPLACE "/.*" "" top "${header}")
      if(top IN_LIST above AND NOT header IN_LIST allowed)
        string(APPEND faults "  ${file} includes ${header}\n")
      endif()
    endforeach()
  endforeach()
endforeach()

if(faults)
  message(FATAL_ERROR "Includes against the layers (front -> translate -> access -> suite -> tree/platform):\n${faults}")
endif()
message(STATUS "layers: every include points down")
