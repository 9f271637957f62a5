# bench_marks: zelvarion-cli mark, doubles and sql as processes on a 100 000-image catalogue,
# against the sqlite3 shell running the same statements on a copy of it.
add_executable(bench_marks marks/MarksBench.cpp search/CatalogueGenerator.cpp search/CatalogueGenerator.h)
target_link_libraries(bench_marks PRIVATE zelvarion_filecommands zelvarion_search)
target_compile_definitions(bench_marks PRIVATE ZELVARION_CLI_PATH="$<TARGET_FILE:zelvarion-cli>")
add_dependencies(bench_marks zelvarion-cli)
