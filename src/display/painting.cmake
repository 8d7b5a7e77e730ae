# Qt painting of the main view: staves, clefs, notes, keyboard, the frame and the score panel.
add_library(tessimo_display STATIC
  ${CMAKE_CURRENT_LIST_DIR}/PaintStyle.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PaintContext.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PaintCache.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StaffPainter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/KeyboardPainter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/NoteLayout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/NotePainter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ModePainter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ScorePanel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FramePainter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ViewSnapshot.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ViewPainter.cpp
)
target_include_directories(tessimo_display PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(tessimo_display PUBLIC tessimo_game tessimo_geometry tessimo_model Qt6::Gui Qt6::Svg)
qt_add_resources(tessimo_display "staff_pictures"
  PREFIX "/staff"
  BASE ${PROJECT_SOURCE_DIR}/src/resources/staff
  FILES
    ${PROJECT_SOURCE_DIR}/src/resources/staff/treble_clef.svg
    ${PROJECT_SOURCE_DIR}/src/resources/staff/bass_clef.svg
    ${PROJECT_SOURCE_DIR}/src/resources/staff/background.svg
)
