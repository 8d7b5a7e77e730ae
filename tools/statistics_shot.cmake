# tessimo_statistics_shot DIR: writes a picture of the statistics window over sample practice
# into DIR (run with QT_QPA_PLATFORM=offscreen; QT_SCALE_FACTOR=2 for the 200% view).
if(NOT TESSIMO_CORE_ONLY)
  add_executable(tessimo_statistics_shot StatisticsShot.cpp)
  target_link_libraries(tessimo_statistics_shot PRIVATE tessimo_statistics_window)
endif()
