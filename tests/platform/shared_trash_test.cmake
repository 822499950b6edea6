# Every case needs root (a file system of its own, another user).
poly_test(shared_trash_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/SharedTrashTest.cpp LIBS platform)
poly_skips_shown(shared_trash_test)
