poly_test(golf_rules_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/golf_rules_test.cpp LIBS quick_rules common)
