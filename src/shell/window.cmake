# The application window: frame, view, About box, adapters of the engine's platform services,
# the tool-bar pictures and icon; the executable, its manuals and install rules.
include(GNUInstallDirs)
find_package(X11)

set(_res ${PROJECT_SOURCE_DIR}/src/resources)
set(TESSIMO_TOOLBAR_PICTURES
  profile configure listen-notes play-notes notes-dictation play-intervals
  interval-dictation play-chords chords-dictation record recognize about)
set(TESSIMO_MANUALS tessimo-en.html tessimo-fr.html)
set(TESSIMO_MANUAL_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/tessimo/manual)

add_library(tessimo_shell STATIC
  CAboutDlg.cpp
  CBrindelApp.cpp
  CBrindelDoc.cpp
  CMainFrame.cpp
  CommandTable.cpp
  CommandView.h
  LockIndicators.cpp
  CBrindelViewWidget.cpp
  ExerciseDialogsAdapter.cpp
  QtConfirmationBox.cpp
  QtManualOpener.cpp
  QtWindowTimer.cpp
  UserManual.cpp
)
set_target_properties(tessimo_shell PROPERTIES AUTOMOC ON)
target_include_directories(tessimo_shell PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(tessimo_shell PUBLIC Qt6::Widgets Qt6::Svg tessimo_game tessimo_display
  tessimo_dialogs tessimo_sound tessimo_audio_devices tessimo_recognition tessimo_model)
target_compile_definitions(tessimo_shell PRIVATE
  TESSIMO_INSTALL_MANUAL_DIR="${CMAKE_INSTALL_FULL_DATADIR}/tessimo/manual")
if(X11_FOUND)
  target_compile_definitions(tessimo_shell PRIVATE TESSIMO_HAVE_X11)
  target_link_libraries(tessimo_shell PRIVATE X11::X11)
endif()

set(_pictures ${_res}/icon/tessimo.svg)
foreach(_p ${TESSIMO_TOOLBAR_PICTURES})
  list(APPEND _pictures ${_res}/toolbar/${_p}.svg)
endforeach()
qt_add_resources(tessimo_shell "shell_pictures" PREFIX "/" BASE ${_res}
  FILES ${_pictures})

add_executable(tessimo main.cpp)
target_link_libraries(tessimo PRIVATE tessimo_shell)

# The manuals go next to the binary in the build tree, as they go to the data folder when
# installed; the program looks in both places.
foreach(_m ${TESSIMO_MANUALS})
  configure_file(${_res}/manual/${_m} ${CMAKE_CURRENT_BINARY_DIR}/manual/${_m} COPYONLY)
endforeach()
configure_file(${_res}/icon/tessimo.svg ${CMAKE_CURRENT_BINARY_DIR}/manual/tessimo.svg COPYONLY)
foreach(_p ${TESSIMO_TOOLBAR_PICTURES})
  configure_file(${_res}/toolbar/${_p}.svg ${CMAKE_CURRENT_BINARY_DIR}/manual/toolbar/${_p}.svg
    COPYONLY)
endforeach()

install(TARGETS tessimo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
list(TRANSFORM TESSIMO_MANUALS PREPEND ${_res}/manual/ OUTPUT_VARIABLE _manual_files)
install(FILES ${_manual_files} ${_res}/icon/tessimo.svg DESTINATION ${TESSIMO_MANUAL_INSTALL_DIR})
list(TRANSFORM TESSIMO_TOOLBAR_PICTURES PREPEND ${_res}/toolbar/ OUTPUT_VARIABLE _toolbar_files)
list(TRANSFORM _toolbar_files APPEND .svg)
install(FILES ${_toolbar_files} DESTINATION ${TESSIMO_MANUAL_INSTALL_DIR}/toolbar)
install(FILES ${_res}/icon/tessimo.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${_res}/tessimo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
