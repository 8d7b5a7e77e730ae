# The application window: frame, view, About box, adapters of the engine's platform services,
# the tool-bar pictures and icon; the executable, its manuals and install rules.
include(GNUInstallDirs)
find_package(X11)

set(_res ${PROJECT_SOURCE_DIR}/src/resources)
set(TESSIMO_TOOLBAR_PICTURES
  profile configure listen-notes play-notes notes-dictation play-intervals
  interval-dictation play-chords chords-dictation record recognize statistics about)
set(TESSIMO_MANUALS tessimo-en.html tessimo-fr.html)
set(TESSIMO_MANUAL_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/tessimo/manual)

add_library(tessimo_shell STATIC
  CAboutDlg.cpp
  CBrindelApp.cpp
  CBrindelDoc.cpp
  CMainFrame.cpp
  CommandTable.cpp
  DataFolder.cpp
  DisabledReasons.cpp
  Translation.cpp
  CommandView.h
  KeyboardStatusText.cpp
  LockIndicators.cpp
  MidiKeyboardAnswers.cpp
  CBrindelViewWidget.cpp
  ExerciseDialogsAdapter.cpp
  QtConfirmationBox.cpp
  QtManualOpener.cpp
  PracticeHistoryRecorder.cpp
  QtWindowTimer.cpp
  SoundSetupDialog.cpp
  UserManual.cpp
)
set_target_properties(tessimo_shell PROPERTIES AUTOMOC ON)
target_include_directories(tessimo_shell PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(tessimo_shell PUBLIC Qt6::Widgets Qt6::Svg tessimo_game tessimo_display
  tessimo_dialogs tessimo_statistics_window tessimo_sound tessimo_audio_devices tessimo_recognition tessimo_history
  tessimo_midi tessimo_model)
target_compile_definitions(tessimo_shell PRIVATE
  TESSIMO_INSTALL_MANUAL_DIR="${CMAKE_INSTALL_FULL_DATADIR}/tessimo/manual"
  TESSIMO_VERSION="${PROJECT_VERSION}"
  TESSIMO_FLUIDSYNTH_VERSION="${FLUIDSYNTH_VERSION}"
  TESSIMO_PORTAUDIO_VERSION="${PORTAUDIO_VERSION}")
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

# The French interface: the translation source compiled by Qt Linguist's lrelease into the
# program's resources.
find_program(TESSIMO_LRELEASE lrelease HINTS /usr/lib/qt6/bin REQUIRED)
set(_qm ${CMAKE_CURRENT_BINARY_DIR}/i18n/tessimo_fr.qm)
add_custom_command(OUTPUT ${_qm}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/i18n
  COMMAND ${TESSIMO_LRELEASE} -silent ${_res}/i18n/tessimo_fr.ts -qm ${_qm}
  DEPENDS ${_res}/i18n/tessimo_fr.ts
  COMMENT "Compiling the French translation")
set_source_files_properties(${_qm} PROPERTIES GENERATED TRUE)
qt_add_resources(tessimo_shell "shell_translations" PREFIX "/i18n"
  BASE ${CMAKE_CURRENT_BINARY_DIR}/i18n FILES ${_qm})

add_executable(tessimo main.cpp)
target_link_libraries(tessimo PRIVATE tessimo_shell)
target_compile_definitions(tessimo PRIVATE TESSIMO_VERSION="${PROJECT_VERSION}")

# The manuals go next to the binary in the build tree, as they go to the data folder when
# installed; the program looks in both places.
foreach(_m ${TESSIMO_MANUALS})
  configure_file(${_res}/manual/${_m} ${CMAKE_CURRENT_BINARY_DIR}/manual/${_m} COPYONLY)
endforeach()
configure_file(${_res}/icon/tessimo.svg ${CMAKE_CURRENT_BINARY_DIR}/manual/tessimo.svg COPYONLY)
configure_file(${_res}/manual/sound-setup.png ${CMAKE_CURRENT_BINARY_DIR}/manual/sound-setup.png
  COPYONLY)
foreach(_p ${TESSIMO_TOOLBAR_PICTURES})
  configure_file(${_res}/toolbar/${_p}.svg ${CMAKE_CURRENT_BINARY_DIR}/manual/toolbar/${_p}.svg
    COPYONLY)
endforeach()

install(TARGETS tessimo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
list(TRANSFORM TESSIMO_MANUALS PREPEND ${_res}/manual/ OUTPUT_VARIABLE _manual_files)
install(FILES ${_manual_files} ${_res}/icon/tessimo.svg ${_res}/manual/sound-setup.png
  DESTINATION ${TESSIMO_MANUAL_INSTALL_DIR})
list(TRANSFORM TESSIMO_TOOLBAR_PICTURES PREPEND ${_res}/toolbar/ OUTPUT_VARIABLE _toolbar_files)
list(TRANSFORM _toolbar_files APPEND .svg)
install(FILES ${_toolbar_files} DESTINATION ${TESSIMO_MANUAL_INSTALL_DIR}/toolbar)
install(FILES ${_res}/icon/tessimo.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${_res}/tessimo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_res}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tessimo)
install(FILES ${_res}/metainfo/org.tessimo.Tessimo.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# Bitmap icons for the places that do not take the scalable one, rendered from it at build time.
add_executable(tessimo_render_icon ${PROJECT_SOURCE_DIR}/tools/RenderIcon.cpp)
target_link_libraries(tessimo_render_icon PRIVATE Qt6::Gui Qt6::Svg)
set(_icon_args)
set(_icon_outputs)
foreach(_size 16 32 48 64 128 256)
  list(APPEND _icon_args ${_size} ${CMAKE_CURRENT_BINARY_DIR}/icons/${_size}/tessimo.png)
  list(APPEND _icon_outputs ${CMAKE_CURRENT_BINARY_DIR}/icons/${_size}/tessimo.png)
endforeach()
add_custom_command(OUTPUT ${_icon_outputs}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/icons/16
    ${CMAKE_CURRENT_BINARY_DIR}/icons/32 ${CMAKE_CURRENT_BINARY_DIR}/icons/48
    ${CMAKE_CURRENT_BINARY_DIR}/icons/64 ${CMAKE_CURRENT_BINARY_DIR}/icons/128
    ${CMAKE_CURRENT_BINARY_DIR}/icons/256
  COMMAND tessimo_render_icon ${_res}/icon/tessimo.svg ${_icon_args}
  DEPENDS tessimo_render_icon ${_res}/icon/tessimo.svg
  COMMENT "Rendering the bitmap icons")
add_custom_target(tessimo_icons ALL DEPENDS ${_icon_outputs})
foreach(_size 16 32 48 64 128 256)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/icons/${_size}/tessimo.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps)
endforeach()
