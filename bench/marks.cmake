# bench_marks: marking a 100 000-image result and the double-file-name search against the sqlite3
# shell running the same statements on a copy of the same catalogue.
add_executable(bench_marks marks/MarksBench.cpp search/CatalogueGenerator.cpp search/CatalogueGenerator.h)
target_link_libraries(bench_marks PRIVATE zelvarion_filecommands)
