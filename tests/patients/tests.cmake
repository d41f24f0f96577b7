quorvel_add_core_test(test_patients_core patients/PatientIndexTest.cpp patients/EvolutionTest.cpp)
target_compile_definitions(test_patients_core PRIVATE QUORVEL_SOURCE_DIR="${QUORVEL_HOST_ROOT}${PROJECT_SOURCE_DIR}")
quorvel_add_test(test_patients patients/PatientsWindowTest.cpp patients/EvolutionPageTest.cpp
  patients/EvolutionPrintTest.cpp patients/EvolutionPdfTest.cpp patients/EvolutionChartTest.cpp)
