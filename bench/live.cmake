# bench_live: the delays of the live sound path on a private sound server's virtual devices.
add_executable(bench_live ${CMAKE_CURRENT_LIST_DIR}/bench_live.cpp
  ${PROJECT_SOURCE_DIR}/tests/sound/PrivateSoundServer.cpp)
target_include_directories(bench_live PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests
  ${PROJECT_SOURCE_DIR}/tests/sound ${PROJECT_SOURCE_DIR}/tests/audio_devices)
target_link_libraries(bench_live PRIVATE tessimo_audio_devices tessimo_game)
