if(ZELVARION_GUI)
    add_executable(bench_bare_window startup/BareWindow.cpp)
    target_link_libraries(bench_bare_window PRIVATE zelvarion_config Qt6::Widgets)

    add_executable(bench_startup startup/StartupBench.cpp)
    target_link_libraries(bench_startup PRIVATE zelvarion_config Qt6::Core)
    target_compile_definitions(bench_startup PRIVATE
        ZELVARION_GUI_EXE="$<TARGET_FILE:zelvarion>"
        ZELVARION_CLI_PATH="$<TARGET_FILE:zelvarion-cli>"
        BARE_WINDOW_EXE="$<TARGET_FILE:bench_bare_window>"
        ZELVARION_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
        ZELVARION_VIPS_MODULE_PATH="$<TARGET_FILE:zelvarion_vips>")
    add_dependencies(bench_startup zelvarion zelvarion-cli bench_bare_window)
endif()
