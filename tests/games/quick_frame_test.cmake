poly_test(quick_frame_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/quick_frame_test.cpp LIBS quick_games shell_test_support)
