# bench_apply_template: the template run on large and small JPEG files against exiftool writing
# the same fields; first zelvarion-cli apply as a whole process, undo journal on.
add_executable(bench_apply_template templates/ApplyTemplateBench.cpp)
target_compile_definitions(bench_apply_template PRIVATE ZELVARION_CLI_PATH="$<TARGET_FILE:zelvarion-cli>")
add_dependencies(bench_apply_template zelvarion-cli)
target_link_libraries(bench_apply_template PRIVATE zelvarion_caption_thumbnails zelvarion_config Qt6::Gui)
target_include_directories(bench_apply_template PRIVATE ${PROJECT_SOURCE_DIR}/tests)
