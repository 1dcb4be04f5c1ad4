# SPDX-License-Identifier: MIT
# talvex_add_test(<name> SOURCES <files...> LIBS <targets...> [LAUNCHER <program>])
# One Qt Test executable, registered with CTest, run on the offscreen platform,
# or through LAUNCHER, which prepares what the test needs and runs it.
function(talvex_add_test name)
  cmake_parse_arguments(T "" "LAUNCHER" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${name} PRIVATE Qt6::Test ${T_LIBS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
  target_compile_definitions(${name} PRIVATE
    TALVEX_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
    TALVEX_ROOT_DIR="${TALVEX_ROOT_DIR}")
  if(T_LAUNCHER)
    add_test(NAME ${name} COMMAND ${T_LAUNCHER} $<TARGET_FILE:${name}>)
  else()
    add_test(NAME ${name} COMMAND ${name})
  endif()
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
