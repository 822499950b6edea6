poly_test(shared_trash_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/SharedTrashTest.cpp LIBS platform)
# Every case needs root: where it is missing they all skip, and ctest says so rather than passed.
set_tests_properties(shared_trash_test PROPERTIES SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
