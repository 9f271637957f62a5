# What `cmake --install` lays out, and the Debian package CPack makes of it:
#   bin/zelvarion, bin/zelvarion-cli
#   lib/zelvarion/libzelvarion_vips.so     the general image decoder, loaded at first need
#   share/zelvarion/                        language packs, user guide, stylesheets: seeded into
#                                           each user's program folder on first start
#   share/applications, share/metainfo, share/icons/hicolor, share/man/man1
include(GNUInstallDirs)

set(ZELVARION_DESKTOP_ID org.zelvarion.Zelvarion)
set(ZELVARION_SHIPPED_DATA_DIR ${CMAKE_INSTALL_DATADIR}/zelvarion)

install(TARGETS zelvarion-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The decoder's loader looks in bin/../lib/zelvarion, whatever the distribution's library folder.
install(TARGETS zelvarion_vips LIBRARY DESTINATION lib/zelvarion)

install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/Zelvarion-Language ${PROJECT_SOURCE_DIR}/data/help
        DESTINATION ${ZELVARION_SHIPPED_DATA_DIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/XML DESTINATION ${ZELVARION_SHIPPED_DATA_DIR}
        PATTERN "*.sh" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                   WORLD_READ WORLD_EXECUTE)

# Manual pages, compressed as Debian keeps them.
find_program(GZIP_PROGRAM gzip REQUIRED)
foreach(page zelvarion.1 zelvarion-cli.1)
    set(compressed ${CMAKE_BINARY_DIR}/man/${page}.gz)
    add_custom_command(OUTPUT ${compressed}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
        COMMAND ${GZIP_PROGRAM} -9 -n -c ${PROJECT_SOURCE_DIR}/data/man/${page} > ${compressed}
        DEPENDS ${PROJECT_SOURCE_DIR}/data/man/${page} VERBATIM)
    list(APPEND ZELVARION_MAN_PAGES ${compressed})
endforeach()
add_custom_target(zelvarion_man_pages ALL DEPENDS ${ZELVARION_MAN_PAGES})
install(FILES ${ZELVARION_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

if(ZELVARION_GUI)
    install(TARGETS zelvarion RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/${ZELVARION_DESKTOP_ID}.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/${ZELVARION_DESKTOP_ID}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

    # The icon is drawn once as SVG; the fixed sizes are rendered from it.
    set(icon_source ${PROJECT_SOURCE_DIR}/data/icons/${ZELVARION_DESKTOP_ID}.svg)
    install(FILES ${icon_source} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
    find_program(RSVG_CONVERT rsvg-convert REQUIRED)
    foreach(size 16 24 32 48 64 128 256)
        set(png ${CMAKE_BINARY_DIR}/icons/${size}x${size}/${ZELVARION_DESKTOP_ID}.png)
        add_custom_command(OUTPUT ${png}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}x${size}
            COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${icon_source}
            DEPENDS ${icon_source} VERBATIM)
        list(APPEND icon_pngs ${png})
        install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
    endforeach()
    add_custom_target(zelvarion_icons ALL DEPENDS ${icon_pngs})
endif()

# The Debian package: scripts/package.sh runs cpack in the build folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelvarion)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_VENDOR "The Zelvarion developers")
set(CPACK_PACKAGE_CONTACT "The Zelvarion developers <developers@zelvarion.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "photo cataloguer and IPTC captioner")
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Zelvarion keeps a catalogue of JPEG, TIFF and Photoshop files and of the IPTC\n"
    "information inside them, searches it by words, fields and dates of revision, and\n"
    "captions whole search results from templates. The window program zelvarion and\n"
    "the command line zelvarion-cli work on the same catalogue.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://zelvarion.org/)
# The libraries the binaries link are read from them by dpkg-shlibdeps; the spelling
# dictionaries and the PDF formatter are only looked for at run time.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The toolkit's own texts (message-box buttons, file dialogs, the calendar) in the pack's language.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "hunspell-en-us | hunspell-dictionary")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "fop, fonts-dejavu-core, fonts-wqy-microhei, hunspell-fr")
set(CPACK_STRIP_FILES ON)
include(CPack)
