poly_test(sound_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/sound_test.cpp LIBS platform_sound game_resources)
