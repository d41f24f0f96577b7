quorvel_add_core_test(test_printing_params printing/ReportParamsTest.cpp printing/ReportProjectTest.cpp
  printing/PrintSamples.cpp)
quorvel_add_test(test_printing printing/ReportEngineTest.cpp printing/PrintActionsTest.cpp printing/ReportWindowsTest.cpp
  printing/PrintSamples.cpp)
