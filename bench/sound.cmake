# bench_sound: the synthesiser's render cost and the delay from MidiPlay to sound.
add_executable(bench_sound ${CMAKE_CURRENT_LIST_DIR}/bench_sound.cpp)
target_link_libraries(bench_sound PRIVATE tessimo_sound)

# bench_volume: peaks of a note and of chords at the default master volume.
add_executable(bench_volume ${CMAKE_CURRENT_LIST_DIR}/bench_volume.cpp)
target_link_libraries(bench_volume PRIVATE tessimo_sound)
