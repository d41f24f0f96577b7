# The synthetic cephalograms' drawing and the landmark proposals learned from them: core tests
# (no widgets), so they run under Wine in the Windows build too.
add_executable(test_synthetic proposals/SyntheticDrawingTest.cpp proposals/SyntheticCephalogramTest.cpp)
target_link_libraries(test_synthetic PRIVATE quorvel_synthetic_files GTest::gtest_main)
quorvel_register_test(test_synthetic)
add_executable(test_proposal_accuracy proposals/ProposalAccuracyTest.cpp)
target_link_libraries(test_proposal_accuracy PRIVATE quorvel_proposals quorvel_synthetic GTest::gtest_main)
quorvel_register_test(test_proposal_accuracy)
add_executable(test_proposals proposals/LearnerModelTest.cpp)
target_link_libraries(test_proposals PRIVATE quorvel_proposals quorvel_synthetic GTest::gtest_main)
quorvel_register_test(test_proposals)
quorvel_add_test(test_proposals_window proposals/ProposalsWindowTest.cpp)
target_link_libraries(test_proposals_window PRIVATE quorvel_synthetic_files)
