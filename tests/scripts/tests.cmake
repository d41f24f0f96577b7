add_test(NAME InstallWorkdir.KeepsCountsAndPatientFiles
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/scripts/install_workdir_test.sh ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR})
add_test(NAME Install.FilesMenuEntryAndLauncher
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/scripts/install_test.sh ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR} ${PROJECT_VERSION})
add_test(NAME Install.InstalledProgramStartsAndKeepsCounts
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/scripts/installed_program_test.sh ${CMAKE_BINARY_DIR})
add_test(NAME Install.DebianPackagePassesLintian
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/scripts/package_test.sh ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR})
set_tests_properties(Install.InstalledProgramStartsAndKeepsCounts Install.DebianPackagePassesLintian
  PROPERTIES TIMEOUT 240)
