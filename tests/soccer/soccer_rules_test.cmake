poly_test(soccer_rules_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/SoccerFieldTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SoccerBallTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SoccerFlowTest.cpp
  LIBS soccer_rules common)
poly_test(soccer_behaviour_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/SoccerActionTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SoccerShotTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SoccerSetPieceTest.cpp
  LIBS soccer_rules common)
