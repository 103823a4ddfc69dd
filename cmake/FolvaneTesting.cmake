# GoogleTest and one helper to declare a test program.
#
#   folvane_add_test(NAME name SOURCES a.cpp ... [LIBS lib ...] [GUI] [OWN_MAIN] [NO_ROOT_INCLUDE])
#
# Builds one test executable and registers it as one ctest test. On the Windows builds
# ctest runs it under Wine (CMAKE_CROSSCOMPILING_EMULATOR); GUI tests share the one Wine
# desktop, so they take a resource lock and never run side by side. NO_ROOT_INCLUDE leaves the
# repository root out of the include path: the test sees only what its libraries expose.
include_guard(GLOBAL)

if(FOLVANE_BUILD_TESTS)
    enable_testing()
    if(CMAKE_CROSSCOMPILING)
        # Debian's googletest package installs the sources; build them with the cross compiler.
        set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
        set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
        set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
        set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
        add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
        add_library(folvane_gtest ALIAS gtest)
        add_library(folvane_gtest_main ALIAS gtest_main)
    else()
        find_package(GTest REQUIRED)
        add_library(folvane_gtest ALIAS GTest::gtest)
        add_library(folvane_gtest_main ALIAS GTest::gtest_main)
    endif()
endif()

function(folvane_add_test)
    cmake_parse_arguments(T "GUI;OWN_MAIN;NO_ROOT_INCLUDE" "NAME" "SOURCES;LIBS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    if(T_OWN_MAIN)
        target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} folvane_gtest)
    else()
        target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} folvane_gtest_main)
    endif()
    if(NOT T_NO_ROOT_INCLUDE)
        target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR})
    endif()
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    set_tests_properties(${T_NAME} PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 900)
    if(T_GUI)
        set_tests_properties(${T_NAME} PROPERTIES RESOURCE_LOCK wine_desktop)
    endif()
endfunction()
