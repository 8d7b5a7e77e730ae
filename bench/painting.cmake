if(NOT TESSIMO_CORE_ONLY)
  add_executable(bench_painting
    ${CMAKE_CURRENT_LIST_DIR}/bench_painting.cpp
    ${PROJECT_SOURCE_DIR}/tests/display/PaintScenes.cpp)
  target_include_directories(bench_painting PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests
    ${PROJECT_SOURCE_DIR}/tests/display)
  target_link_libraries(bench_painting PRIVATE tessimo_display)
endif()
