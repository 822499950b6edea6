poly_test(soccer_rules_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/SoccerFieldTest.cpp
  LIBS soccer_rules common)
