# The recognition benchmark over a synthetic corpus (bench/corpus/make_corpus.sh writes it;
# bench/recognition_table.sh makes the corpus when missing and prints the table).
add_executable(render_notes corpus/render_notes.cpp)
target_link_libraries(render_notes PRIVATE tessimo_words_lib PkgConfig::FLUIDSYNTH)
add_executable(recognition_rooms corpus/RoomConditions.cpp)
target_link_libraries(recognition_rooms PRIVATE tessimo_words_lib)
