quorvel_add_core_test(test_bolton_core
  bolton/BoltonCalcTest.cpp bolton/BoltonTableTest.cpp bolton/BoltonFileTest.cpp bolton/BoltonMemoTest.cpp
  bolton/BoltonSheetTest.cpp)
quorvel_add_test(test_bolton_page
  bolton/BoltonPageTest.cpp bolton/BoltonPageFileTest.cpp bolton/BoltonPageLayoutTest.cpp
  bolton/BoltonPageStateTest.cpp)
