poly_test(baseball_outcome_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/baseball_outcome_test.cpp LIBS baseball_rules common)
