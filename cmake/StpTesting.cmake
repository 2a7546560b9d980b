# GoogleTest from the sources Debian ships, built for whichever target this build is for.
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

# stp_add_test(NAME SOURCES... [LIBS ...] [LABELS ...])
# Native tests are discovered case by case; a Windows test executable is one CTest test run
# under Wine (starting Wine per case would cost seconds each), labelled "wine".
function(stp_add_test name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
    if(CMAKE_CROSSCOMPILING)
        add_test(NAME ${name} COMMAND ${name})
        set_tests_properties(${name} PROPERTIES LABELS "wine;${T_LABELS}"
            ENVIRONMENT "STP_SOURCE_DIR=${PROJECT_SOURCE_DIR};STP_BINARY_DIR=${PROJECT_BINARY_DIR}")
    else()
        gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
            PROPERTIES LABELS "native;${T_LABELS}"
            ENVIRONMENT "STP_SOURCE_DIR=${PROJECT_SOURCE_DIR};STP_BINARY_DIR=${PROJECT_BINARY_DIR}")
    endif()
endfunction()
