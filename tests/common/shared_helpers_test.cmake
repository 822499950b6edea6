poly_test(shared_helpers_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/UnitCryptAccessTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DataListTest.cpp
  LIBS common)
