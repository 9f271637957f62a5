# bench_server_search: word searches on a catalogue of 1 000 000 generated rows on a throwaway
# database server against the same searches on the catalogue file of the same rows, whole
# zelvarion-cli processes with their peak memory.
add_executable(bench_server_search server/ServerSearchBench.cpp
    search/CatalogueGenerator.cpp search/CatalogueGenerator.h)
target_link_libraries(bench_server_search PRIVATE zelvarion_search)
target_compile_definitions(bench_server_search PRIVATE ZELVARION_CLI_PATH="$<TARGET_FILE:zelvarion-cli>"
    ZELVARION_CLUSTER_SCRIPT="${PROJECT_SOURCE_DIR}/scripts/pg-test-cluster.sh")
add_dependencies(bench_server_search zelvarion-cli)
