# tessimo-words: offline diagnosis of recordings with the recogniser's own code.
add_library(tessimo_words_lib STATIC
  tessimo_words/Commands.cpp
  tessimo_words/WavFile.cpp
)
target_include_directories(tessimo_words_lib PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/tessimo_words)
target_link_libraries(tessimo_words_lib PUBLIC tessimo_recognition)

add_executable(tessimo-words tessimo_words/main.cpp)
target_link_libraries(tessimo-words PRIVATE tessimo_words_lib)
