# bench_cli: the programs started as processes, as a user does: zelvarion-cli read and scan
# against exiftool on 200 generated 6-megapixel JPEG files, search against the sqlite3 shell on
# a generated catalogue of 100 000 rows.
add_executable(bench_cli cli/CliBench.cpp search/CatalogueGenerator.cpp search/CatalogueGenerator.h)
target_link_libraries(bench_cli PRIVATE zelvarion_search zelvarion_thumbnail_maker)
target_compile_definitions(bench_cli PRIVATE ZELVARION_CLI_PATH="$<TARGET_FILE:zelvarion-cli>")
add_dependencies(bench_cli zelvarion-cli)
