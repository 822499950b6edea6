# The case needs root (a small file system of its own).
poly_test(full_disk_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/FullDiskTest.cpp LIBS common)
poly_skips_shown(full_disk_test)
