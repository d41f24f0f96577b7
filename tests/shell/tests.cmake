quorvel_add_test(test_shell shell/StartupTest.cpp)
quorvel_add_test(test_shell_windows shell/MainWindowTest.cpp shell/SplashTest.cpp)
quorvel_add_test(test_wiring shell/WiringTest.cpp)
