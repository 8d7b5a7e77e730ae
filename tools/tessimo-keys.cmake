# tessimo_keys: shows which MIDI keyboards the program would connect and the keys they send.
add_executable(tessimo_keys ${CMAKE_CURRENT_LIST_DIR}/tessimo_keys.cpp)
target_link_libraries(tessimo_keys PRIVATE tessimo_midi)
