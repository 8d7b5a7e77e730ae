# Start-up of the real window to its first painted frame.
if(NOT TESSIMO_CORE_ONLY)
  add_executable(bench_shell ${CMAKE_CURRENT_LIST_DIR}/ShellStartupBench.cpp)
  target_link_libraries(bench_shell PRIVATE tessimo_shell)
endif()
