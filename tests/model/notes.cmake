tessimo_add_gtest(test_model_notes
  SOURCES CNotesListTest.cpp PitchTableTest.cpp
  LIBS tessimo_model)
