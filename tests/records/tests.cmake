quorvel_add_core_test(test_records_core records/TweedFileTest.cpp records/TextFilesTest.cpp records/TweedModelTest.cpp)
quorvel_add_test(test_records records/HistoryPageTest.cpp records/PlanPageTest.cpp)
