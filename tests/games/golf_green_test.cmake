poly_test(golf_green_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/golf_green_test.cpp LIBS quick_rules common)
