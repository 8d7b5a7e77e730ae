# Statistics queries over a year of daily practice, and the user-interface thread's cost of
# recording an answer.
add_executable(bench_history ${CMAKE_CURRENT_LIST_DIR}/bench_history.cpp)
target_link_libraries(bench_history PRIVATE tessimo_history)
