# Package reading (extraction, listing, checking) and writing (the packer).
list(APPEND package_sources
    ${CMAKE_CURRENT_SOURCE_DIR}/FileSystem.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/PathRules.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/EntryInflater.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/PackageReader.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/Global.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/PackageContents.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/ParallelDeflate.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/PackageWriter.cpp)
if(WIN32)
    list(APPEND package_sources
        ${CMAKE_CURRENT_SOURCE_DIR}/FileSystem_win.cpp
        ${CMAKE_CURRENT_SOURCE_DIR}/Global_win.cpp)
    # The four-argument ExtractPackage asks the shell layer for the system folder; that
    # library is defined after this folder, so the link is added once everything is known.
    function(stp_package_link_shell)
        if(TARGET stp_package AND TARGET stp_shell)
            target_link_libraries(stp_package PUBLIC stp_shell)
        endif()
    endfunction()
    cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL stp_package_link_shell)
else()
    list(APPEND package_sources
        ${CMAKE_CURRENT_SOURCE_DIR}/FileSystem_posix.cpp
        ${CMAKE_CURRENT_SOURCE_DIR}/Global_posix.cpp)
endif()
