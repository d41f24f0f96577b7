quorvel_add_test(test_entry entry/RealEntryTest.cpp)
