poly_test(whole_file_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/WholeFileTest.cpp LIBS platform)
