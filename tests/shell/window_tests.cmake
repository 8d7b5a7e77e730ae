# Tests of the application window, on the offscreen platform, and of the real program under a
# virtual X server.
tessimo_add_qttest(test_shell_frame
  SOURCES MainFrameTest.cpp FakeCommandView.h
  LIBS tessimo_shell)

tessimo_add_qttest(test_shell_data_folder
  SOURCES DataFolderTest.cpp
  LIBS tessimo_shell)

# The view opens the audio library for its microphone: the sound system's plugins leave
# allocations of their own behind (see tests/sound/lsan.supp).
tessimo_add_qttest(test_shell_window
  SOURCES RealWindowTest.cpp RecordingMidi.h
  LIBS tessimo_shell
  ENV LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/sound/lsan.supp
      ASAN_OPTIONS=fast_unwind_on_malloc=0)

# Status-bar reports of the sound output against a private sound server.
tessimo_add_qttest(test_shell_sound_status
  SOURCES SoundStatusTest.cpp ${PROJECT_SOURCE_DIR}/tests/sound/PrivateSoundServer.cpp
  LIBS tessimo_shell
  LABELS threads
  ENV LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/sound/lsan.supp
      ASAN_OPTIONS=fast_unwind_on_malloc=0
      TSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/sound/tsan.supp)
# Its own waits add up to 80 s on a slow machine.
set_tests_properties(test_shell_sound_status PROPERTIES RESOURCE_LOCK audio TIMEOUT 180)

# The manuals next to the test binaries, where the program looks for them.
foreach(_m tessimo-en.html tessimo-fr.html)
  configure_file(${PROJECT_SOURCE_DIR}/src/resources/manual/${_m}
    ${CMAKE_CURRENT_BINARY_DIR}/manual/${_m} COPYONLY)
endforeach()

# The real program under a virtual X server; its screenshots stay in build/screenshots/window.
add_executable(shell_e2e_settings WriteSettings.cpp)
target_link_libraries(shell_e2e_settings PRIVATE tessimo_model)
foreach(_scenario synth voice)
  add_test(NAME test_shell_e2e_${_scenario}
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/window_e2e.sh $<TARGET_FILE:tessimo>
            ${CMAKE_BINARY_DIR}/screenshots/window/${_scenario} ${_scenario}
            $<TARGET_FILE:shell_e2e_settings>)
  set_tests_properties(test_shell_e2e_${_scenario} PROPERTIES TIMEOUT 120 LABELS "x11")
  if(_scenario STREQUAL "voice")
    set_tests_properties(test_shell_e2e_voice PROPERTIES RESOURCE_LOCK microphone)
  endif()
endforeach()

# User files that are not regular files or cannot be read, at start-up and on the command line.
# The view opens the audio library for its microphone (see test_shell_window).
tessimo_add_qttest(test_shell_user_files
  SOURCES UserFilesTest.cpp RecordingMidi.h
  LIBS tessimo_shell Threads::Threads
  ENV LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/sound/lsan.supp
      ASAN_OPTIONS=fast_unwind_on_malloc=0)

# The statistics window over a history file the test writes.
tessimo_add_qttest(test_shell_statistics
  SOURCES StatisticsWindowTest.cpp
  LIBS tessimo_statistics_window)
target_compile_definitions(test_shell_statistics PRIVATE
  TESSIMO_SCREENSHOT_DIR="${CMAKE_BINARY_DIR}/screenshots")

# The recogniser's path from each user's preferences, and the window's side of it ("Quiet
# please", "?" and "Say again", Recognize on an instrument without recordings).
tessimo_add_qttest(test_shell_recognition_path
  SOURCES RecognitionPathTest.cpp RecordingMidi.h
  LIBS tessimo_shell)
# The sound set-up dialog against a private sound server with two speakers and a microphone.
tessimo_add_qttest(test_shell_sound_setup
  SOURCES SoundSetupTest.cpp ${PROJECT_SOURCE_DIR}/tests/sound/PrivateSoundServer.cpp
  LIBS tessimo_shell
  LABELS threads
  ENV LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/sound/lsan.supp
      ASAN_OPTIONS=fast_unwind_on_malloc=0
      TSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/sound/tsan.supp)
# Device changes restart the audio library, which lists every device again: seconds on a
# loaded machine. It runs alone, so that other tests do not add to its waits.
set_tests_properties(test_shell_sound_setup PROPERTIES RUN_SERIAL TRUE TIMEOUT 900)

# The window with a MIDI keyboard, through a private JACK server that the script starts and
# stops by process id. Alone, as the MIDI tests are: JACK drops the MIDI of cycles that overran.
file(READ ${PROJECT_SOURCE_DIR}/tests/sound/lsan.supp _sound_lsan)
file(READ ${PROJECT_SOURCE_DIR}/tests/midi/lsan.supp _midi_lsan)
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/keyboard_window_lsan.supp "${_sound_lsan}${_midi_lsan}")
add_executable(test_shell_midi_keyboard MidiKeyboardWindowTest.cpp RecordingMidi.h)
set_target_properties(test_shell_midi_keyboard PROPERTIES AUTOMOC ON)
target_link_libraries(test_shell_midi_keyboard PRIVATE tessimo_shell Qt6::Test Qt6::Widgets)
target_include_directories(test_shell_midi_keyboard PRIVATE ${PROJECT_SOURCE_DIR}/src
  ${PROJECT_SOURCE_DIR}/tests)
add_test(NAME test_shell_midi_keyboard
  COMMAND ${PROJECT_SOURCE_DIR}/tests/midi/with_jack_server.sh
          $<TARGET_FILE:test_shell_midi_keyboard>)
set_tests_properties(test_shell_midi_keyboard PROPERTIES
  LABELS threads
  RUN_SERIAL TRUE
  TIMEOUT 180
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TESSIMO_SOURCE_DIR=${PROJECT_SOURCE_DIR};LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_BINARY_DIR}/keyboard_window_lsan.supp;ASAN_OPTIONS=fast_unwind_on_malloc=0;TSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/midi/tsan.supp")
