quorvel_add_core_test(test_tracing_logic tracing/TracingGeometryTest.cpp tracing/TracingFileTest.cpp)
quorvel_add_test(test_tracing tracing/RadiographTest.cpp tracing/RadiographFormatTest.cpp tracing/TracingWindowTest.cpp
  tracing/TracingWindowFilesTest.cpp tracing/TracingWindowLayoutTest.cpp tracing/CephTableTest.cpp)
# The samples are written with DCMTK; the program reads them through its DICOM module.
target_link_libraries(test_tracing PRIVATE DCMTK::dcmdata)
quorvel_add_core_test(test_cephalometrics tracing/CephMeasuresTest.cpp tracing/SuperimpositionTest.cpp
  tracing/AnalysisDefinitionTest.cpp tracing/DefinitionsMatchTest.cpp tracing/TracingModelTest.cpp)
target_compile_definitions(test_cephalometrics PRIVATE QUORVEL_TEST_DATA="${QUORVEL_HOST_ROOT}${CMAKE_CURRENT_SOURCE_DIR}/tracing/data"
  QUORVEL_DOCS_DIR="${QUORVEL_HOST_ROOT}${CMAKE_CURRENT_SOURCE_DIR}/../docs")
quorvel_add_test(test_tiff tracing/TiffReaderTest.cpp)
quorvel_add_test(test_ceph_output tracing/CephReportTest.cpp tracing/CephCsvExportTest.cpp tracing/ClinicAnalysisTest.cpp
  tracing/ProposedMarksTest.cpp)
quorvel_add_test(test_superimposition tracing/SuperimpositionWindowTest.cpp)
target_link_libraries(test_superimposition PRIVATE DCMTK::dcmdata)  # writes a DICOM radiograph
