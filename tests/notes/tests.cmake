quorvel_add_test(test_notes notes/HistoryPageTest.cpp notes/PlanPageTest.cpp)
