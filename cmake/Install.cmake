# What `cmake --install` puts into its prefix, and the Debian package made from the same files.
include(GNUInstallDirs)

set(KESTRUNE_APP_ID org.quillmoor.Kestrune)

add_executable(rendericon ${CMAKE_SOURCE_DIR}/tools/rendericon.cpp)
target_link_libraries(rendericon PRIVATE Qt6::Gui)
add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/icons/256x256/apps/${KESTRUNE_APP_ID}.png
    COMMAND rendericon ${CMAKE_SOURCE_DIR}/resources/kestrune.svg ${CMAKE_BINARY_DIR}/icons
            ${KESTRUNE_APP_ID}
    DEPENDS rendericon ${CMAKE_SOURCE_DIR}/resources/kestrune.svg
    COMMENT "Rendering the program icon")
add_custom_target(kestrune_icons ALL
                  DEPENDS ${CMAKE_BINARY_DIR}/icons/256x256/apps/${KESTRUNE_APP_ID}.png)

install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/manual/
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kestrune/manual)
install(FILES ${CMAKE_SOURCE_DIR}/resources/kestrune.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${KESTRUNE_APP_ID}.svg)
install(DIRECTORY ${CMAKE_BINARY_DIR}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/${KESTRUNE_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/${KESTRUNE_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/kestrune-playlist.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/kestrune.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrune)
set(CPACK_PACKAGE_VENDOR Quillmoor)
set(CPACK_PACKAGE_CONTACT "Kestrune developers <kestrune@quillmoor.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "movie player for a television fed by a scan converter")
set(CPACK_PACKAGE_INSTALL_DIRECTORY /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
# The libraries the binary links come from dpkg-shlibdeps; the plugins it loads at run time are named.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, libqt6svg6, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, gstreamer1.0-plugins-bad, gstreamer1.0-plugins-ugly, gstreamer1.0-libav, gstreamer1.0-alsa, gstreamer1.0-pulseaudio, fonts-ipafont-gothic")
include(CPack)
