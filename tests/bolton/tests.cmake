quorvel_add_core_test(test_bolton_core
  bolton/BoltonCalcTest.cpp bolton/BoltonTableTest.cpp bolton/BoltonFileTest.cpp bolton/BoltonMemoTest.cpp)
