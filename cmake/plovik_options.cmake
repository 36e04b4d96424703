# The converter's option table (converter/driver/options.def) read by CMake,
# for what is made from it outside the converter's code: the manual page's synopsis,
# the fuzzer's dictionary and the wizard's option names.

set(PLOVIK_OPTIONS_DEF ${CMAKE_CURRENT_LIST_DIR}/../converter/driver/options.def)
# A new table means a new configure.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PLOVIK_OPTIONS_DEF})

# Sets <prefix>_IDS, <prefix>_NAMES, <prefix>_VALUES and <prefix>_KINDS, one
# entry per option in the table's order (an option without a value has "-"
# there).
function(plovik_read_options prefix)
  file(STRINGS ${PLOVIK_OPTIONS_DEF} lines REGEX "^PLOVIK_OPTION\\(")
  set(ids)
  set(names)
  set(values)
  set(kinds)
  foreach(line IN LISTS lines)
    # The mode, empty-value and form columns concern the parser alone.
    if(NOT line MATCHES "^PLOVIK_OPTION\\(([A-Za-z]+), *\"([^\"]*)\", *\"([^\"]*)\", *([A-Za-z]+), *(ModeOn|ModeKept), *(EmptyTaken|EmptyRefused), *\"([^\"]*)\"\\)$")
      message(FATAL_ERROR "options.def: a line of another shape: ${line}")
    endif()
    list(APPEND ids "${CMAKE_MATCH_1}")
    list(APPEND names "${CMAKE_MATCH_2}")
    if(CMAKE_MATCH_3 STREQUAL "")
      list(APPEND values "-")
    else()
      list(APPEND values "${CMAKE_MATCH_3}")
    endif()
    list(APPEND kinds "${CMAKE_MATCH_4}")
  endforeach()
  set(${prefix}_IDS "${ids}" PARENT_SCOPE)
  set(${prefix}_NAMES "${names}" PARENT_SCOPE)
  set(${prefix}_VALUES "${values}" PARENT_SCOPE)
  set(${prefix}_KINDS "${kinds}" PARENT_SCOPE)
endfunction()
