poly_test(pk_rules_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/pk_rules_test.cpp LIBS quick_rules common)
