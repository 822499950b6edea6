poly_test(shell_start_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/shell_start_test.cpp LIBS platform)
