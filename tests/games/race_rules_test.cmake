poly_test(race_rules_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/race_rules_test.cpp LIBS quick_rules common)
