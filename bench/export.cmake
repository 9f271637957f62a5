# bench_export: the XML export, its rendering and the word statistics over a generated catalogue
# of 100 000 rows, against sqlite3 -json, xsltproc and tr | sort | uniq -c.
add_executable(bench_export export/BenchExport.cpp search/CatalogueGenerator.cpp search/CatalogueGenerator.h)
target_link_libraries(bench_export PRIVATE zelvarion_export zelvarion_xslt)
target_compile_definitions(bench_export PRIVATE ZELVARION_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
