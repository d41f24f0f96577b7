quorvel_add_core_test(test_printing_params printing/ReportParamsTest.cpp printing/ReportProjectTest.cpp
  printing/PrintSamples.cpp)
quorvel_add_test(test_printing printing/ReportEngineTest.cpp printing/PrintActionsTest.cpp printing/ReportWindowsTest.cpp
  printing/LetterheadTest.cpp printing/ReportLetterheadLayoutTest.cpp
  printing/PrintSamples.cpp)
# Prints through a private CUPS scheduler (cups and printer-driver-cups-pdf); runs as root.
quorvel_add_test(test_printing_cups printing/CupsPrintTest.cpp printing/PrintSamples.cpp)
