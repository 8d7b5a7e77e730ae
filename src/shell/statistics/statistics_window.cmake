# The statistics window: heat map on the staff and keyboard, daily chart, confusions, filters.
add_library(tessimo_statistics_window STATIC
  ${CMAKE_CURRENT_LIST_DIR}/HeatMapWidget.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DailyChartWidget.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StatisticsWindow.cpp
)
set_target_properties(tessimo_statistics_window PROPERTIES AUTOMOC ON)
target_include_directories(tessimo_statistics_window PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(tessimo_statistics_window PUBLIC tessimo_statistics tessimo_display
  Qt6::Widgets)
