quorvel_add_test(test_notes notes/HistoryPageTest.cpp notes/PlanPageTest.cpp notes/SharedFolderPageTest.cpp
  notes/BackupActionsTest.cpp)
add_dependencies(test_notes quorvel_file_helper)  # found beside the test program
