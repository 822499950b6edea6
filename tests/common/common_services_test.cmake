poly_test(common_services_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/GameRandomTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/HenkanJTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ListItemsTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BitmapToolsTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SheetLoaderTest.cpp
  LIBS common game_resources)
