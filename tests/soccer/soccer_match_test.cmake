poly_test(soccer_match_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/SoccerMatchTest.cpp LIBS soccer_rules common)
