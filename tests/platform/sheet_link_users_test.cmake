# Every case needs root (another user).
poly_test(sheet_link_users_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/SheetLinkUsersTest.cpp LIBS platform)
poly_skips_shown(sheet_link_users_test)
