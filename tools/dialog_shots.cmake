# tessimo_dialog_shots DIR: writes pictures of the configuration and profile dialogs as PNG
# files into DIR (run with QT_QPA_PLATFORM=offscreen; QT_SCALE_FACTOR=2 for the 200% view).
if(NOT TESSIMO_CORE_ONLY)
  add_executable(tessimo_dialog_shots DialogShots.cpp)
  target_link_libraries(tessimo_dialog_shots PRIVATE tessimo_dialogs)
endif()
