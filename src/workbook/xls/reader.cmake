# The Excel 97-2003 reader: a compound file and the BIFF8 records in its workbook stream.
target_sources(setzaiko_engine PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/BiffRecords.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CfbStream.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CompoundFile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ContinueReader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SheetCellReader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WorkbookParser.cpp
    ${CMAKE_CURRENT_LIST_DIR}/XlsSheetCells.cpp
    ${CMAKE_CURRENT_LIST_DIR}/XlsWorkbook.cpp)
