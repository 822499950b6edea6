poly_test(shape_engine_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/ShapeEngineTest.cpp LIBS editor_core)
