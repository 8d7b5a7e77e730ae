# tessimo_sound_check: plays a scale and a chord through the real sound output.
add_executable(tessimo_sound_check ${CMAKE_CURRENT_LIST_DIR}/tessimo_sound_check.cpp)
target_link_libraries(tessimo_sound_check PRIVATE tessimo_sound)
