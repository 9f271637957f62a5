# bench_export: zelvarion-cli export, export --xsl and stats as processes over a generated
# catalogue of 100 000 rows, against sqlite3 -json, xsltproc and tr | sort | uniq -c.
add_executable(bench_export export/BenchExport.cpp search/CatalogueGenerator.cpp search/CatalogueGenerator.h)
target_link_libraries(bench_export PRIVATE zelvarion_search)
target_compile_definitions(bench_export PRIVATE ZELVARION_CLI_PATH="$<TARGET_FILE:zelvarion-cli>")
add_dependencies(bench_export zelvarion-cli)
