poly_test(mato_game_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/mato_game_test.cpp LIBS quick_games quick_game_test_support)
