# bench_iptc_read: this reader against exiftool and exiv2 on the same folder of JPEG files.
if(NOT DEFINED ZELVARION_TESTDATA_DIR)
    set(ZELVARION_TESTDATA_DIR "${PROJECT_SOURCE_DIR}/tests/data")
endif()
add_executable(bench_iptc_read iptc/BenchIptcRead.cpp)
target_link_libraries(bench_iptc_read PRIVATE zelvarion_iptc)
target_compile_definitions(bench_iptc_read PRIVATE
    ZELVARION_BENCH_SAMPLES="${ZELVARION_TESTDATA_DIR}/iptc"
    ZELVARION_CLI_PATH="$<TARGET_FILE:zelvarion-cli>")
add_dependencies(bench_iptc_read zelvarion-cli)
