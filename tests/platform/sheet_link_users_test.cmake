poly_test(sheet_link_users_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/SheetLinkUsersTest.cpp LIBS platform)
# Every case needs root: where it is missing they all skip, and ctest says so rather than passed.
set_tests_properties(sheet_link_users_test PROPERTIES SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
