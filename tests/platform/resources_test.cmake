poly_test(resources_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/resources_test.cpp LIBS game_resources platform test_support)
