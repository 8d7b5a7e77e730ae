# Benchmarks of the word recogniser: the real FFT against FFTW, and one match of a word.
pkg_check_modules(FFTW3F IMPORTED_TARGET fftw3f)
find_package(benchmark)
if(FFTW3F_FOUND AND benchmark_FOUND)
  add_executable(bench_recognition_fft bench_recognition_fft.cpp)
  target_link_libraries(bench_recognition_fft PRIVATE tessimo_recognition PkgConfig::FFTW3F
                        benchmark::benchmark)
endif()
if(benchmark_FOUND)
  add_executable(bench_recognition_match bench_recognition_match.cpp)
  target_link_libraries(bench_recognition_match PRIVATE tessimo_recognition benchmark::benchmark)
endif()
