poly_test(game_services_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/game_services_test.cpp LIBS quick_games baseball_game soccer_game game_test_support)
