quorvel_add_core_test(test_records_core records/TweedFileTest.cpp records/TextFilesTest.cpp records/TweedModelTest.cpp records/TweedRegistryTest.cpp
  records/FileIoTest.cpp records/BackupTest.cpp records/FolderSafetyTest.cpp)
target_link_libraries(test_records_core PRIVATE LibArchive::LibArchive)

# Other programs writing the same folder: the concurrency tests start several of these.
add_executable(quorvel_file_helper records/FileHelper.cpp)
target_link_libraries(quorvel_file_helper PRIVATE quorvel_core)
quorvel_add_core_test(test_records_concurrency records/ConcurrencyTest.cpp records/FileLockTest.cpp)
target_compile_definitions(test_records_concurrency PRIVATE QUORVEL_FILE_HELPER="${QUORVEL_HOST_ROOT}$<TARGET_FILE:quorvel_file_helper>")
add_dependencies(test_records_concurrency quorvel_file_helper)
quorvel_add_test(test_records records/StatsTest.cpp records/ShareWarningTest.cpp)
add_dependencies(test_records quorvel_file_helper)  # found beside the test program

# Saving on a share through a FUSE client that breaks exclusive creates, links, appends and the
# deletion of open files: a small FUSE file system made for the test (libfuse3, test only).
find_package(PkgConfig QUIET)
if(PkgConfig_FOUND AND NOT WIN32)
  pkg_check_modules(FUSE3 QUIET IMPORTED_TARGET fuse3)
endif()
quorvel_add_core_test(test_records_share records/ShareFolderTest.cpp)
target_compile_definitions(test_records_share PRIVATE QUORVEL_FILE_HELPER="${QUORVEL_HOST_ROOT}$<TARGET_FILE:quorvel_file_helper>")
add_dependencies(test_records_share quorvel_file_helper)
if(FUSE3_FOUND)
  add_executable(quorvel_share_fs records/ShareLikeFs.cpp)
  target_link_libraries(quorvel_share_fs PRIVATE PkgConfig::FUSE3)
  foreach(t test_records_share test_records)
    target_compile_definitions(${t} PRIVATE QUORVEL_SHARE_FS="$<TARGET_FILE:quorvel_share_fs>")
    add_dependencies(${t} quorvel_share_fs)
  endforeach()
else()
  target_compile_definitions(test_records_share PRIVATE QUORVEL_SHARE_FS="")
  target_compile_definitions(test_records PRIVATE QUORVEL_SHARE_FS="")
endif()

# What differs between Linux and Windows: Unicode and long paths, reserved names, open files.
quorvel_add_core_test(test_records_platform records/PlatformFilesTest.cpp)
target_compile_definitions(test_records_platform PRIVATE
  QUORVEL_FILE_HELPER="${QUORVEL_HOST_ROOT}$<TARGET_FILE:quorvel_file_helper>")
add_dependencies(test_records_platform quorvel_file_helper)
