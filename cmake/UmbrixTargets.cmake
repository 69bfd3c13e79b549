# The language standard and the warnings belong to each target of the project, not to the
# directory, so that nothing built beside it (GoogleTest, Qt's generated code) inherits them.
function(umbrix_target_defaults target)
  target_compile_features(${target} PUBLIC cxx_std_20)
  set_target_properties(${target} PROPERTIES CXX_EXTENSIONS OFF)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  # GCC 12 reports false -Wrestrict overlaps for std::string assignments at -O2 and above
  # (GCC bug 105651); later versions do not.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
  if(UMBRIX_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# One GoogleTest program of a test folder, registered with CTest:
#   umbrix_add_test(NAME SOURCES file... LIBRARIES target... [OWN_MAIN] [PROPERTIES ...])
# OWN_MAIN: the sources bring their own main(); PROPERTIES go to every discovered test.
function(umbrix_add_test name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "OWN_MAIN" "" "SOURCES;LIBRARIES;PROPERTIES")
  add_executable(${name} ${arg_SOURCES})
  umbrix_target_defaults(${name})
  if(arg_OWN_MAIN)
    target_link_libraries(${name} PRIVATE ${arg_LIBRARIES} GTest::gtest)
  else()
    target_link_libraries(${name} PRIVATE ${arg_LIBRARIES} GTest::gtest_main)
  endif()
  # The folder's own helpers, and the shared ones as "support/NAME.hpp".
  target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  if(arg_PROPERTIES)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ${arg_PROPERTIES})
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
