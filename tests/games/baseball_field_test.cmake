poly_test(baseball_field_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/baseball_field_test.cpp LIBS baseball_rules)
