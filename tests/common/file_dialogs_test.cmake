poly_test(file_dialogs_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/MyFileDialogsTest.cpp
  LIBS common)
