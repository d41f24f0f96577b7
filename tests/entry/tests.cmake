quorvel_add_test(test_entry entry/RealEntryTest.cpp)
quorvel_add_test(test_entry_widgets entry/EntryFilterTest.cpp)
