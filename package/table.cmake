# The data table and its text format.
list(APPEND package_sources
    ${CMAKE_CURRENT_SOURCE_DIR}/QsDataTable.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/QsDataTable_table.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/QsDataTable_tables.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/QsDataTable_text.cpp)
