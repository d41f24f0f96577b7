quorvel_add_test(test_shell shell/StartupTest.cpp)
quorvel_add_test(test_shell_windows shell/MainWindowTest.cpp shell/SplashTest.cpp)
quorvel_add_test(test_wiring shell/WiringTest.cpp)
# Every window on a 1024 x 768 screen; its own main sets the offscreen screen's size.
quorvel_add_test(test_screen_fit shell/ScreenFitTest.cpp)
if(WIN32)
  # Windows' own platform on the 1024 x 768 X screen scripts/windows/test.sh runs the tests on.
  set_tests_properties(test_screen_fit PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=windows")
endif()
