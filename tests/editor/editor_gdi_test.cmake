poly_test(editor_gdi_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/EditorGdiTest.cpp LIBS editor_core)
