# The SpreadsheetML reader reads the archive with libzip, inflates with ISA-L where the
# platform has it (three times zlib's speed here) or else with zlib, and parses what its own
# scanner leaves with expat.
target_sources(setzaiko_engine PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/CellPacking.cpp
    ${CMAKE_CURRENT_LIST_DIR}/InflateAhead.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RawInflate.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RecentTexts.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Relationships.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RichText.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SerialDate.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SharedStrings.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StoredPart.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WorkbookPart.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WorksheetCells.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WorksheetFeed.cpp
    ${CMAKE_CURRENT_LIST_DIR}/XlsxSheetCells.cpp
    ${CMAKE_CURRENT_LIST_DIR}/XlsxWorkbook.cpp
    ${CMAKE_CURRENT_LIST_DIR}/XmlReader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/XmlScanner.cpp
    ${CMAKE_CURRENT_LIST_DIR}/XmlText.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ZipArchive.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ZipDirectory.cpp)
pkg_check_modules(LIBZIP REQUIRED IMPORTED_TARGET libzip)
pkg_check_modules(EXPAT REQUIRED IMPORTED_TARGET expat)
pkg_check_modules(ZLIB REQUIRED IMPORTED_TARGET zlib)
target_link_libraries(setzaiko_engine PRIVATE PkgConfig::LIBZIP PkgConfig::EXPAT PkgConfig::ZLIB)
option(SETZAIKO_ISAL "Inflate with ISA-L where it is installed" ON)
if(SETZAIKO_ISAL)
    pkg_check_modules(ISAL IMPORTED_TARGET libisal)
endif()
if(ISAL_FOUND)
    target_link_libraries(setzaiko_engine PRIVATE PkgConfig::ISAL)
    target_compile_definitions(setzaiko_engine PRIVATE SETZAIKO_HAVE_ISAL)
endif()
