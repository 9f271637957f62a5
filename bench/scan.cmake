# The scan of a folder of JPEG files, with and without thumbnails, against vipsthumbnail and
# exiftool on the same files.
add_executable(bench_scan scan/ScanBench.cpp)
target_link_libraries(bench_scan PRIVATE zelvarion_scan_thumbnails zelvarion_config)
target_compile_definitions(bench_scan PRIVATE
    ZELVARION_TESTDATA_DIR="${PROJECT_SOURCE_DIR}/tests/data")
