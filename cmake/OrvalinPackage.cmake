# Debian packages of Orvalin, built by CPack from one build (scripts/package).
# Two packages install the same program: "orvalin" leaves the display language
# to the locale; "orvalin-en" adds the marker that makes every window English.
# The bootstrap on the installation medium chooses between them.

if(NOT TARGET Orvalin)
    return()
endif()

set(ORVALIN_APP_ID org.orvalin.Orvalin)
set(ORVALIN_MAINTAINER "Orvalin developers <orvalin@users.noreply.orvalin.example>")
set(ORVALIN_LINUX_DIR ${PROJECT_SOURCE_DIR}/resources/linux)
set(ORVALIN_PACKAGE_DIR ${PROJECT_BINARY_DIR}/package)

# Debian keeps documentation compressed without timestamps (gzip -n).
configure_file(${ORVALIN_LINUX_DIR}/changelog.in ${ORVALIN_PACKAGE_DIR}/changelog @ONLY)
add_custom_command(
    OUTPUT ${ORVALIN_PACKAGE_DIR}/changelog.gz ${ORVALIN_PACKAGE_DIR}/orvalin.1.gz
    COMMAND gzip -9n -c ${ORVALIN_PACKAGE_DIR}/changelog > ${ORVALIN_PACKAGE_DIR}/changelog.gz
    COMMAND gzip -9n -c ${ORVALIN_LINUX_DIR}/orvalin.1 > ${ORVALIN_PACKAGE_DIR}/orvalin.1.gz
    DEPENDS ${ORVALIN_PACKAGE_DIR}/changelog ${ORVALIN_LINUX_DIR}/orvalin.1
    VERBATIM)
add_custom_target(orvalin_package_docs ALL
    DEPENDS ${ORVALIN_PACKAGE_DIR}/changelog.gz ${ORVALIN_PACKAGE_DIR}/orvalin.1.gz)

foreach(flavour IN ITEMS ja en)
    if(flavour STREQUAL "ja")
        set(package orvalin)
    else()
        set(package orvalin-en)
    endif()
    install(TARGETS Orvalin RUNTIME DESTINATION libexec/orvalin COMPONENT ${flavour})
    install(PROGRAMS ${ORVALIN_LINUX_DIR}/orvalin DESTINATION bin COMPONENT ${flavour})
    install(TARGETS orvalin-calibrate RUNTIME DESTINATION bin COMPONENT ${flavour})
    install(FILES ${ORVALIN_LINUX_DIR}/${ORVALIN_APP_ID}.desktop
            DESTINATION share/applications COMPONENT ${flavour})
    install(FILES ${ORVALIN_LINUX_DIR}/${ORVALIN_APP_ID}.metainfo.xml
            DESTINATION share/metainfo COMPONENT ${flavour})
    install(FILES ${PROJECT_SOURCE_DIR}/resources/orvalin/icon.svg
            DESTINATION share/icons/hicolor/scalable/apps RENAME ${ORVALIN_APP_ID}.svg COMPONENT ${flavour})
    install(FILES ${PROJECT_SOURCE_DIR}/resources/cell.png ${PROJECT_SOURCE_DIR}/resources/cell.sst
            DESTINATION share/orvalin COMPONENT ${flavour})
    install(FILES ${ORVALIN_PACKAGE_DIR}/orvalin.1.gz DESTINATION share/man/man1 COMPONENT ${flavour})
    install(FILES ${ORVALIN_LINUX_DIR}/copyright ${ORVALIN_PACKAGE_DIR}/changelog.gz
            DESTINATION share/doc/${package} COMPONENT ${flavour})
endforeach()
install(FILES ${ORVALIN_LINUX_DIR}/english.txt DESTINATION share/orvalin COMPONENT en)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvalin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${ORVALIN_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX ${ORVALIN_PACKAGE_DIR})
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL ja en)

set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Library dependencies come from dpkg-shlibdeps; these are what the program
# loads at run time without linking it: fonts, camera and image plugins.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-liberation2, fonts-ipafont-gothic, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, qt6-image-formats-plugins")

# Each description's first line is its package's synopsis.
set(ORVALIN_DESCRIPTION_BODY
    "Orvalin shows the live picture of a USB microscope camera or a wireless
microscope, or opens an image file, calibrates how many pixels make a known
length and measures on the still with fourteen tools: distances, arcs,
circles, perpendiculars, broken lines, parallels, areas, angles, text and
reference lines. Results leave as CSV, as annotated JPEG or BMP images and
as a spreadsheet report.")
set(CPACK_COMPONENT_JA_DESCRIPTION
    "measuring tool for digital microscope images\n${ORVALIN_DESCRIPTION_BODY}\n\nWindows are Japanese or English as the locale says.")
set(CPACK_COMPONENT_EN_DESCRIPTION
    "measuring tool for digital microscope images (English)\n${ORVALIN_DESCRIPTION_BODY}\n\nEvery window is English, whatever the locale.")

# Both install the same files: installing one replaces the other.
set(CPACK_DEBIAN_JA_PACKAGE_NAME orvalin)
set(CPACK_DEBIAN_JA_FILE_NAME Install-ja.deb)
set(CPACK_DEBIAN_JA_PACKAGE_CONFLICTS orvalin-en)
set(CPACK_DEBIAN_JA_PACKAGE_REPLACES orvalin-en)
set(CPACK_DEBIAN_EN_PACKAGE_NAME orvalin-en)
set(CPACK_DEBIAN_EN_FILE_NAME Install-en.deb)
set(CPACK_DEBIAN_EN_PACKAGE_CONFLICTS orvalin)
set(CPACK_DEBIAN_EN_PACKAGE_REPLACES orvalin)

include(CPack)
