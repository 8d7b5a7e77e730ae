# Helpers for the test suites. Each test executable is one CTest test.
find_package(GTest)

# tessimo_add_gtest(NAME SOURCES ... LIBS ... [LABELS ...] [ENV ...])
function(tessimo_add_gtest name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS;ENV" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    LABELS "${T_LABELS}"
    ENVIRONMENT "TESSIMO_SOURCE_DIR=${PROJECT_SOURCE_DIR};${T_ENV}")
endfunction()

# tessimo_add_qttest(NAME SOURCES ... LIBS ... [LABELS ...]): Qt Test executable on the offscreen platform.
function(tessimo_add_qttest name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS;ENV" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_link_libraries(${name} PRIVATE ${T_LIBS} Qt6::Test Qt6::Widgets)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    LABELS "${T_LABELS}"
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TESSIMO_SOURCE_DIR=${PROJECT_SOURCE_DIR};${T_ENV}")
endfunction()
