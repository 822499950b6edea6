poly_test(floating_transform_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/FloatingTransformTest.cpp LIBS editor_core)
