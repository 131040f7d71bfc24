# Installing and packaging. `cmake --install <build> --prefix <folder>` puts
# the program folder into <folder>/opt/tolvane (the program, its libraries,
# texts, pictures, the default app.conf and the two tools), a `tolvane`
# command into <folder>/usr/bin, and the menu entry and its icons under
# <folder>/usr/share. `cmake --build <build> --target package` makes the
# Debian package of the same, installed from /.

set(TOLVANE_INSTALL_DIR opt/tolvane)
if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT)
    set(CMAKE_INSTALL_PREFIX / CACHE PATH "Where the installed tree begins" FORCE)
endif()

set(tolvane_programs Tolvane tolvane-data)
if(TARGET transmitter-sim)
    list(APPEND tolvane_programs transmitter-sim)
endif()
install(TARGETS ${tolvane_programs} RUNTIME DESTINATION ${TOLVANE_INSTALL_DIR})
install(TARGETS Kryptane ResENG LIBRARY DESTINATION ${TOLVANE_INSTALL_DIR})
install(FILES
    ${CMAKE_SOURCE_DIR}/resources/string_chs.conf
    ${CMAKE_SOURCE_DIR}/resources/string_eng.conf
    ${CMAKE_SOURCE_DIR}/resources/app.conf
    DESTINATION ${TOLVANE_INSTALL_DIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/imgs/ DESTINATION ${TOLVANE_INSTALL_DIR}/imgs
    FILES_MATCHING PATTERN "*.bmp")

# The command on the path: a relative link, so that it holds under any prefix.
file(CREATE_LINK ../../${TOLVANE_INSTALL_DIR}/Tolvane ${CMAKE_BINARY_DIR}/tolvane SYMBOLIC)
install(FILES ${CMAKE_BINARY_DIR}/tolvane DESTINATION usr/bin)
install(FILES ${CMAKE_SOURCE_DIR}/resources/tolvane.desktop DESTINATION usr/share/applications)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/icons/ DESTINATION usr/share/icons)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tolvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Tolvane)
set(CPACK_PACKAGE_CONTACT "Tolvane <tolvane@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Desktop broadcasting station for a school, a factory or an office")
set(CPACK_PACKAGING_INSTALL_PREFIX /)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
# The libraries it links, found by dpkg-shlibdeps; beside them what is loaded
# at run time: Qt's display plug-ins, the media plug-ins, the voices' data,
# the Chinese face.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, espeak-ng-data, fonts-wqy-microhei")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
include(CPack)
