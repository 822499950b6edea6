poly_test(undo_ring_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/UndoRingTest.cpp LIBS editor_core)
