add_executable(sheetlink_listener ${CMAKE_CURRENT_LIST_DIR}/sheetlink_listener.cpp)
target_link_libraries(sheetlink_listener PRIVATE platform)
set_target_properties(sheetlink_listener PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)

poly_test(sheet_link_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/SheetLinkTest.cpp LIBS platform)
add_dependencies(sheet_link_test sheetlink_listener)
