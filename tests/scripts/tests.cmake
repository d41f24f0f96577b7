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
# No GPL-only library in what the package ships: the program and the DICOM module.
set(licence_objects $<TARGET_FILE:quorvel>)
if(TARGET quorvel-dicom)
  list(APPEND licence_objects $<TARGET_FILE:quorvel-dicom>)
endif()
add_test(NAME Licence.NoGplOnlyLibraryIsLoaded
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/scripts/licence_test.sh ${licence_objects})
add_test(NAME Licence.ExpressionsAreJudgedByTheirChoices
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/scripts/licence_verdict_test.sh ${CMAKE_CURRENT_SOURCE_DIR}/scripts)
