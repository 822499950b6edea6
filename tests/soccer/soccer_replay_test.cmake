poly_test(soccer_replay_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/SoccerReplayTest.cpp LIBS soccer_rules common)
