quorvel_add_core_test(test_tweed_logic tweed/TweedAnalysisTest.cpp)
quorvel_add_test(test_tweed_page tweed/TweedPageTest.cpp tweed/DiagnosisPanelTest.cpp tweed/TweedPageLayoutTest.cpp
  tweed/TweedStateTest.cpp)
quorvel_add_test(test_tweed_report tweed/TweedReportTextsTest.cpp)
quorvel_add_test(test_tweed_file tweed/TweedFilePageTest.cpp tweed/TweedTransitionTest.cpp tweed/TweedOpenTest.cpp)
