poly_test(help_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/help_test.cpp LIBS platform_help)
# The tests read the built help file when there is one: build it first.
if(TARGET help_chm)
  add_dependencies(help_test help_chm)
endif()
