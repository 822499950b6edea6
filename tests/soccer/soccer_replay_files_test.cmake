poly_test(soccer_replay_files_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/SoccerReplayFilesTest.cpp LIBS soccer_files test_doubles)
