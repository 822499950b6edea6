add_executable(sheetlink_sender ${CMAKE_CURRENT_LIST_DIR}/sheetlink_sender.cpp)
target_link_libraries(sheetlink_sender PRIVATE platform)
set_target_properties(sheetlink_sender PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)

poly_test(shell_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/shell_test.cpp LIBS shell_test_support)
add_dependencies(shell_test sheetlink_sender)
