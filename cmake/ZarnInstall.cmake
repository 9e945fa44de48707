# cmake --install puts the game where a desktop looks for it: the executable
# in bin, its run-time tree in share/zarn/assets, the desktop entry, the
# AppStream metainfo and the icons in their shared folders. cpack -G DEB wraps
# the same files into a Debian package installed under /usr.
install(TARGETS zarn RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The build tree's dot files (the generator's stamp) are not run-time data.
install(DIRECTORY ${ZARN_ASSET_DIR}/ DESTINATION ${ZARN_INSTALL_ASSET_DIR}
    PATTERN ".*" EXCLUDE)
install(DIRECTORY ${ZARN_ICON_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

configure_file(${PROJECT_SOURCE_DIR}/packaging/zarn.desktop.in
    ${CMAKE_BINARY_DIR}/packaging/${ZARN_APP_ID}.desktop @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/zarn.metainfo.xml.in
    ${CMAKE_BINARY_DIR}/packaging/${ZARN_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/${ZARN_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_BINARY_DIR}/packaging/${ZARN_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(CPACK_PACKAGE_NAME zarn)
set(CPACK_PACKAGE_CONTACT "The Zarn developers <zarngame@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "puzzle game on the faces of a floating cube")
# Lines as the package's description shows them.
set(CPACK_PACKAGE_DESCRIPTION
    "A cube floats in the sky, with a sliding picture, a marble maze, a river
crossing and a colour-flow board on its faces. Solve the four puzzles, then
press the red button, all within five minutes. Hints help the stuck, and a
demo plays the game to the win.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://github.com/zarngame/zarn)
# dpkg-shlibdeps (package dpkg-dev) names the libraries the executable links.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
