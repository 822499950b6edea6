poly_test(baseball_soak_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/baseball_soak_test.cpp LIBS baseball_rules common)
