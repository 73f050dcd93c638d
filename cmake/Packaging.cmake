# Installation into the usual places of a Linux desktop, and the Debian package built from it
# by `cpack -G DEB`. The files that are not programs come from data/.

include(GNUInstallDirs)

set(SETZAIKO_MAINTAINER
    "Seed e5ab88ad maintainers <maintainers@users.noreply.c-seed-e5ab88ad.example>")
# The AppStream identifier: reverse DNS of the maintainers' mail domain, hyphens as underscores.
set(SETZAIKO_APP_ID "example.c_seed_e5ab88ad.SetZaiko")
set(SETZAIKO_SCREENSHOT_BASE_URL "" CACHE STRING
    "https address where docs/images/ of this repository is published; empty leaves the \
screenshot out of the AppStream metadata")

set(data ${PROJECT_SOURCE_DIR}/data)
set(generated ${PROJECT_BINARY_DIR}/data)

install(TARGETS setzaiko setzaiko-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES ${data}/setzaiko.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${data}/icons/setzaiko.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 22 24 32 48 64 128 256)
    install(FILES ${data}/icons/hicolor/${size}x${size}/apps/setzaiko.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# A software centre shows the screenshot from the web only, so the metadata can name it only
# where the project publishes it; without that address the entry goes without one.
set(SETZAIKO_SCREENSHOTS "")
if(SETZAIKO_SCREENSHOT_BASE_URL)
    if(NOT SETZAIKO_SCREENSHOT_BASE_URL MATCHES "^https://[^ ]+[^/ ]$")
        message(FATAL_ERROR "SETZAIKO_SCREENSHOT_BASE_URL must be an https address without a "
                            "trailing slash")
    endif()
    string(CONCAT SETZAIKO_SCREENSHOTS
        "  <screenshots>\n"
        "    <screenshot type=\"default\">\n"
        "      <caption>The components of a set product after an order simulation</caption>\n"
        "      <caption xml:lang=\"ja\">受注シミュレーション後の個別在庫状況画面</caption>\n"
        "      <image>${SETZAIKO_SCREENSHOT_BASE_URL}/Frm0030F-simulated.png</image>\n"
        "    </screenshot>\n"
        "  </screenshots>\n")
endif()
configure_file(${data}/setzaiko.metainfo.xml.in
               ${generated}/${SETZAIKO_APP_ID}.metainfo.xml @ONLY)
install(FILES ${generated}/${SETZAIKO_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Manual pages and the changelog are compressed as Debian wants them (gzip -9n: no name, no
# time stamp), at configure time, so that building only the two programs is enough to install.
function(setzaiko_gzip source target)
    execute_process(COMMAND gzip -9n -c ${source} OUTPUT_FILE ${target}
                    RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "gzip failed on ${source}")
    endif()
endfunction()

foreach(page setzaiko-cli.1 setzaiko.1)
    configure_file(${data}/man/${page} ${generated}/${page} @ONLY)
    setzaiko_gzip(${generated}/${page} ${generated}/${page}.gz)
    install(FILES ${generated}/${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

set(docdir ${CMAKE_INSTALL_DATADIR}/doc/setzaiko)
configure_file(${data}/debian/changelog.in ${generated}/changelog @ONLY)
setzaiko_gzip(${generated}/changelog ${generated}/changelog.gz)
install(FILES ${generated}/changelog.gz DESTINATION ${docdir})

# Debian's copyright file in its machine-readable format, with the licence text of LICENSE.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]+)" _ "${licence}")
set(holder "${CMAKE_MATCH_1}")
string(REGEX REPLACE "^.*${holder}\n\n" "" permission "${licence}")
string(REGEX REPLACE "\n+$" "" permission "${permission}")
string(REGEX REPLACE "\n\n" "\n.\n" permission "${permission}")
string(REPLACE "\n" "\n " permission "${permission}")
file(WRITE ${generated}/copyright
    "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
    "Upstream-Name: SetZaiko\n"
    "\n"
    "Files: *\n"
    "Copyright: ${holder}\n"
    "License: MIT\n"
    "\n"
    "License: MIT\n"
    " ${permission}\n")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
install(FILES ${generated}/copyright DESTINATION ${docdir})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME setzaiko)
set(CPACK_PACKAGE_VENDOR "Seed e5ab88ad")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${SETZAIKO_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "set product stock inquiry (セット商品在庫照会)")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${SETZAIKO_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries come from the binaries themselves; the windows also need a Japanese Gothic
# font (the family list names IPAGothic and Noto Sans CJK JP), and Qt's own Japanese texts
# are welcome.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic | fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
# The synopsis line comes from CPACK_PACKAGE_DESCRIPTION_SUMMARY; this is the long text.
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "SetZaiko is a desktop program with Japanese windows for the people who take\n"
    "orders of set products: products sold as a set and assembled from component\n"
    "products. It imports the product and stock masters from an Excel 97-2003\n"
    "workbook, searches the set products, lists the components of a set with the\n"
    "sets that can still be assembled, simulates an order and writes the stock\n"
    "status to a CSV file in code page 932.\n"
    ".\n"
    "setzaiko-cli runs the same inquiry without windows, for scripts.")

include(CPack)
