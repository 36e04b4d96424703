# find_package(GTest) for cross builds: builds GoogleTest from Debian's
# source package with the project's own compiler and offers the same
# GTest::gtest and GTest::gtest_main targets as the installed package.

if(TARGET GTest::gtest)
  return()
endif()

set(PLOVIK_GTEST_SOURCE /usr/src/googletest/googletest CACHE PATH "GoogleTest sources")
if(NOT EXISTS ${PLOVIK_GTEST_SOURCE}/CMakeLists.txt)
  set(GTest_FOUND FALSE)
  set(GTest_NOT_FOUND_MESSAGE
      "no GoogleTest sources in ${PLOVIK_GTEST_SOURCE} (Debian package googletest)")
  return()
endif()

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_SHARED_LIBS OFF)
add_subdirectory(${PLOVIK_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
# GoogleTest's own build names its targets GTest::… too.
foreach(target gtest gtest_main)
  if(NOT TARGET GTest::${target})
    add_library(GTest::${target} ALIAS ${target})
  endif()
endforeach()
set(GTest_FOUND TRUE)
