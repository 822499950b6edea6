poly_test(race_game_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/race_game_test.cpp LIBS quick_games quick_game_test_support game_test_support)
