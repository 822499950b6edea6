poly_test(editor_geometry_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/EditorGeometryTest.cpp LIBS editor_core)
