tessimo_add_qttest(test_display_painting
  SOURCES
    PaintScenes.cpp
    RecordingDevice.cpp
    PaintingRoutinesTest.cpp
  LIBS tessimo_display)
tessimo_add_qttest(test_display_frames
  SOURCES
    PaintScenes.cpp
    FramePaintingTest.cpp
  LIBS tessimo_display)
tessimo_add_qttest(test_display_notation
  SOURCES
    PaintScenes.cpp
    RecordingDevice.cpp
    NotationTest.cpp
  LIBS tessimo_display)
