# How the project's tests reach ctest: one entry per GoogleTest test, found
# when ctest runs (so that a cross-built program is listed under Wine, not at
# build time), each labelled by its kind, so that `ctest -L unit` and
# `ctest -R Name` pick what they name.
#   unit     the converter's readers, builders and writers, in memory or a temporary folder
#   e2e      the real program on real folders
#   limits   the real program at the limits (resources, other users)
#   wizard   the wizard (labelled in wizard/)
#   windows  every test of a Windows build, as well as its kind
include(GoogleTest)

function(plovik_test_labels out kind)
  set(labels ${kind})
  if(WIN32)
    list(APPEND labels windows)
  endif()
  set(${out} "${labels}" PARENT_SCOPE)
endfunction()

# The tests of GoogleTest program `target`, named "<kind>.<Suite>.<Test>";
# further arguments are test properties.
function(plovik_discover_tests target kind)
  plovik_test_labels(labels ${kind})
  gtest_discover_tests(${target}
    TEST_PREFIX "${kind}."
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120
    PROPERTIES LABELS "${labels}" ${ARGN})
endfunction()

# Sets the environment of every test plovik_discover_tests found in
# `target`, when ctest has listed them: the discovery can hand on no list
# of values (such as several variables) as a property.
function(plovik_test_environment target environment)
  set(script ${CMAKE_CURRENT_BINARY_DIR}/${target}_environment.cmake)
  file(GENERATE OUTPUT ${script} CONTENT
"if(${target}_TESTS)
  set_tests_properties(\${${target}_TESTS} PROPERTIES ENVIRONMENT [==[${environment}]==])
endif()
")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${script})
endfunction()

# Gives the tests of `target` whose names match `pattern` the resource lock
# `lock`, so that ctest never runs two of them at once, also under -j: they
# share something outside their own process (such as a drive letter).
function(plovik_test_lock target pattern lock)
  set(script ${CMAKE_CURRENT_BINARY_DIR}/${target}_lock_${lock}.cmake)
  file(GENERATE OUTPUT ${script} CONTENT
"set(locked)
foreach(test IN LISTS ${target}_TESTS)
  if(test MATCHES [==[${pattern}]==])
    list(APPEND locked \${test})
  endif()
endforeach()
if(locked)
  set_tests_properties(\${locked} PROPERTIES RESOURCE_LOCK [==[${lock}]==])
endif()
")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${script})
endfunction()
