poly_test(kakure_rules_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/kakure_rules_test.cpp LIBS quick_rules common)
