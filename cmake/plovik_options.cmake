# The converter's option table (converter/driver/options.def) read by CMake,
# for what is made from it outside the C++ code: the manual page's synopsis
# and the fuzzer's dictionary.

set(PLOVIK_OPTIONS_DEF ${CMAKE_CURRENT_LIST_DIR}/../converter/driver/options.def)
# A new table means a new configure.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PLOVIK_OPTIONS_DEF})

# Sets <prefix>_NAMES, <prefix>_VALUES and <prefix>_KINDS, one entry per
# option in the table's order (an option without a value has "-" there).
function(plovik_read_options prefix)
  file(STRINGS ${PLOVIK_OPTIONS_DEF} lines REGEX "^PLOVIK_OPTION\\(")
  set(names)
  set(values)
  set(kinds)
  foreach(line IN LISTS lines)
    if(NOT line MATCHES "^PLOVIK_OPTION\\([A-Za-z]+, *\"([^\"]*)\", *\"([^\"]*)\", *([A-Za-z]+)\\)")
      message(FATAL_ERROR "options.def: a line of another shape: ${line}")
    endif()
    list(APPEND names "${CMAKE_MATCH_1}")
    if(CMAKE_MATCH_2 STREQUAL "")
      list(APPEND values "-")
    else()
      list(APPEND values "${CMAKE_MATCH_2}")
    endif()
    list(APPEND kinds "${CMAKE_MATCH_3}")
  endforeach()
  set(${prefix}_NAMES "${names}" PARENT_SCOPE)
  set(${prefix}_VALUES "${values}" PARENT_SCOPE)
  set(${prefix}_KINDS "${kinds}" PARENT_SCOPE)
endfunction()
