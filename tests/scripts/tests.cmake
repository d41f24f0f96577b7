add_test(NAME InstallWorkdir.KeepsCountsAndPatientFiles
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/scripts/install_workdir_test.sh ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR})
