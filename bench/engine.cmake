# Cost of one game tick in each mode and of one mouse event.
add_executable(bench_engine ${CMAKE_CURRENT_LIST_DIR}/bench_engine.cpp)
target_link_libraries(bench_engine PRIVATE tessimo_game)
target_include_directories(bench_engine PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
