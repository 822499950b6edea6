poly_test(baseball_innings_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/baseball_innings_test.cpp LIBS baseball_rules common)
