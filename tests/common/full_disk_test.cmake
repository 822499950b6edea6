poly_test(full_disk_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/FullDiskTest.cpp LIBS common)
# The case needs root: where it is missing it skips, and ctest says so rather than passed.
set_tests_properties(full_disk_test PROPERTIES SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
