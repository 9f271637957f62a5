# bench_vocabulary: the keyword vocabulary of 1 000 000 images with 50 000 distinct keywords, the
# dialog's reading and one offer, and zelvarion-cli keywords against the sqlite3 shell.
add_executable(bench_vocabulary vocabulary/VocabularyBench.cpp search/CatalogueGenerator.cpp search/CatalogueGenerator.h)
target_link_libraries(bench_vocabulary PRIVATE zelvarion_search)
target_compile_definitions(bench_vocabulary PRIVATE ZELVARION_CLI_PATH="$<TARGET_FILE:zelvarion-cli>")
add_dependencies(bench_vocabulary zelvarion-cli)
