poly_test(mato_rules_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/mato_rules_test.cpp LIBS quick_rules common)
