target_sources(zelvarion_platform PRIVATE AtomicFile.cpp AtomicFile.h)

# Thumbnails: the store is plain file work on Qt Core; the maker decodes through libvips and hands
# out QImage, so it is a library of its own and the core keeps off Qt Gui.
target_sources(zelvarion_platform PRIVATE ThumbnailStore.cpp ThumbnailStore.h)
find_package(Qt6 6.4 QUIET COMPONENTS Gui)
if(TARGET PkgConfig::VIPS AND TARGET Qt6::Gui)
    add_library(zelvarion_thumbnail_maker STATIC ThumbnailMaker.cpp ThumbnailMaker.h)
    target_link_libraries(zelvarion_thumbnail_maker PUBLIC zelvarion_platform Qt6::Gui PRIVATE PkgConfig::VIPS)
endif()
