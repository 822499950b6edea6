# The game program's own main() and libraries, with a driver that plays it as a user does; the test
# runs it against a private sound server.
get_target_property(_program_sources chibipolycolo SOURCES)
get_target_property(_program_libs chibipolycolo LINK_LIBRARIES)
list(TRANSFORM _program_sources PREPEND ${PROJECT_SOURCE_DIR}/)
add_executable(game_program_driven ${_program_sources} ${CMAKE_CURRENT_LIST_DIR}/sound_server_driver.cpp)
target_link_libraries(game_program_driven PRIVATE ${_program_libs} Qt6::Test)
set_target_properties(game_program_driven PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)

poly_test(sound_server_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/sound_server_test.cpp LIBS platform_sound game_resources)
add_dependencies(sound_server_test game_program_driven)
# Without a sound server the test skips, and ctest says so rather than counting it as passed.
poly_skips_shown(sound_server_test)
