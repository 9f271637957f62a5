# bench_search: RunSearch against the sqlite3 shell running the same statement on a generated
# catalogue of 100 000 rows.
add_executable(bench_search search/BenchSearch.cpp search/CatalogueGenerator.cpp search/CatalogueGenerator.h)
target_link_libraries(bench_search PRIVATE zelvarion_search)
