tessimo_add_gtest(test_display_geometry
  SOURCES StaffLayoutTest.cpp PitchAtTest.cpp
  LIBS tessimo_geometry)
