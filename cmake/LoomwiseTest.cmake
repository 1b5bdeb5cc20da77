include(GoogleTest)

# loomwise_add_test(NAME SOURCES... LIBS...): one GoogleTest executable, its cases discovered by ctest.
function(loomwise_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()

# loomwise_add_qt_test(NAME SOURCES... LIBS...): one Qt Test executable run as one ctest test.
# The GUI tests share one display, so they never run at the same time.
function(loomwise_add_qt_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} guitestsupport Qt6::Test)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES RESOURCE_LOCK display TIMEOUT 300)
endfunction()
