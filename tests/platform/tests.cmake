quorvel_add_test(test_platform platform/QtDialogsTest.cpp platform/ModulesTest.cpp)
target_compile_definitions(test_platform PRIVATE QUORVEL_PROGRAM="${QUORVEL_HOST_ROOT}$<TARGET_FILE:quorvel>"
  QUORVEL_INSTALLED_PROGRAM_DIR="${CMAKE_INSTALL_FULL_LIBEXECDIR}/quorvel"
  QUORVEL_INSTALLED_MODULE_DIR="${CMAKE_INSTALL_FULL_LIBDIR}/quorvel/modules"
  QUORVEL_MODULE_SUFFIX="${CMAKE_SHARED_MODULE_SUFFIX}")
add_dependencies(test_platform quorvel)
quorvel_add_test(test_accessibility platform/AccessibilityTest.cpp)
