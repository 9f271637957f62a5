# bench_archive_search: word searches on catalogues of 100 000 and 1 000 000 generated rows,
# zelvarion-cli search (through its substring index) against the sqlite3 shell running the same
# statement, whole processes with their peak memory.
add_executable(bench_archive_search archive/ArchiveSearchBench.cpp
    search/CatalogueGenerator.cpp search/CatalogueGenerator.h)
target_link_libraries(bench_archive_search PRIVATE zelvarion_search Qt6::Gui)
target_compile_definitions(bench_archive_search PRIVATE ZELVARION_CLI_PATH="$<TARGET_FILE:zelvarion-cli>")
add_dependencies(bench_archive_search zelvarion-cli)
