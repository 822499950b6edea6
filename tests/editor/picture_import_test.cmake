poly_test(picture_import_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/PictureImportTest.cpp LIBS editor_core)
