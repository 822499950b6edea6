poly_test(platform_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/platform_test.cpp LIBS platform Qt6::Network)
