poly_test(baseball_play_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/baseball_play_test.cpp LIBS baseball_rules common)
