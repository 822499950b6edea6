poly_test(hurdle_rules_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/hurdle_rules_test.cpp LIBS quick_rules common)
