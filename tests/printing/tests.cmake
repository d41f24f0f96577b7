quorvel_add_core_test(test_printing_params printing/ReportParamsTest.cpp printing/ReportProjectTest.cpp
  printing/PrintSamples.cpp)
quorvel_add_test(test_printing printing/ReportEngineTest.cpp printing/PrintActionsTest.cpp printing/ReportWindowsTest.cpp
  printing/LetterheadTest.cpp printing/ReportLetterheadLayoutTest.cpp
  printing/PrintSamples.cpp)
target_link_libraries(test_printing PRIVATE quorvel_print_windows)  # drives the print windows directly
# Prints through a private CUPS scheduler (cups and printer-driver-cups-pdf); runs as root.
quorvel_add_test(test_printing_cups printing/CupsPrintTest.cpp printing/PrintSamples.cpp)
target_link_libraries(test_printing_cups PRIVATE quorvel_print_windows)
