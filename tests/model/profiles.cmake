# User names and switching between users.
tessimo_add_gtest(test_model_profiles
  SOURCES UserNameTest.cpp ProfileSwitchTest.cpp
  LIBS tessimo_model)
