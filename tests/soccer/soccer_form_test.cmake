poly_test(soccer_form_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/SoccerFormTest.cpp LIBS soccer_game game_test_support shell_test_support)
