quorvel_add_test(test_shell shell/StartupTest.cpp)
quorvel_add_test(test_shell_windows shell/MainWindowTest.cpp shell/SplashTest.cpp)
quorvel_add_test(test_wiring shell/WiringTest.cpp)
# Every window on a 1024 x 768 screen; its own main sets the offscreen screen's size. Linux only
# for now: under Wine the program does not get past its start (neither Windows' platform on the
# test X screen nor the minimal one); the Windows build lays out with the same style and fonts,
# and the page layout tests check the same sizes there.
if(NOT WIN32)
  quorvel_add_test(test_screen_fit shell/ScreenFitTest.cpp)
endif()
