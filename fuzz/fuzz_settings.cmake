tessimo_add_fuzzer(fuzz_settings ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_settings.cpp tessimo_model)
