# The logical drawing space, staff layouts, keyboard geometry and the mouse-to-pitch mapping.
# No Qt: the engine and the tests use it as well as the painter.
add_library(tessimo_geometry STATIC
  ${CMAKE_CURRENT_LIST_DIR}/StaffLayout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/KeyboardGeometry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PitchAt.cpp
)
target_include_directories(tessimo_geometry PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(tessimo_geometry PUBLIC tessimo_model)
