# Tests of the application window, on the offscreen platform, and of the real program under a
# virtual X server.
tessimo_add_qttest(test_shell_frame
  SOURCES MainFrameTest.cpp FakeCommandView.h
  LIBS tessimo_shell)

# The manuals next to the test binaries, where the program looks for them.
foreach(_m tessimo-en.html tessimo-fr.html)
  configure_file(${PROJECT_SOURCE_DIR}/src/resources/manual/${_m}
    ${CMAKE_CURRENT_BINARY_DIR}/manual/${_m} COPYONLY)
endforeach()
