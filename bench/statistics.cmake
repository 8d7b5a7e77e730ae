# Opening the statistics window over a year of daily practice.
if(NOT TESSIMO_CORE_ONLY)
  add_executable(bench_statistics ${CMAKE_CURRENT_LIST_DIR}/bench_statistics.cpp)
  target_link_libraries(bench_statistics PRIVATE tessimo_statistics_window)
endif()
