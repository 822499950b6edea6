poly_test(sheet_file_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/SheetFileTest.cpp LIBS editor_core)
