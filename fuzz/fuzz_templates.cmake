tessimo_add_fuzzer(fuzz_templates ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_templates.cpp
                   tessimo_recognition)
