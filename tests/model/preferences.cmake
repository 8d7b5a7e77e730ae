# The per-user preferences file.
tessimo_add_gtest(test_model_preferences
  SOURCES UserPreferencesTest.cpp
  LIBS tessimo_model)
