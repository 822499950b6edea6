add_executable(file_saver ${CMAKE_CURRENT_LIST_DIR}/file_saver.cpp)
target_link_libraries(file_saver PRIVATE common)
set_target_properties(file_saver PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)

poly_test(shared_helpers_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/UnitCryptAccessTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DataListTest.cpp
  LIBS common editor_core platform_help soccer_files baseball_game quick_games)
add_dependencies(shared_helpers_test file_saver)
