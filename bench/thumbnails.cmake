# Thumbnails of a folder of JPEG files: the thumbnail maker on two threads against vipsthumbnail.
add_executable(bench_thumbnails thumbnails/ThumbnailBench.cpp)
target_link_libraries(bench_thumbnails PRIVATE zelvarion_thumbnail_maker zelvarion_config)
target_compile_definitions(bench_thumbnails PRIVATE
    ZELVARION_TESTDATA_DIR="${PROJECT_SOURCE_DIR}/tests/data")
