# The module for Windows, cross-built with cmake/mingw-w64-x86_64.cmake (scripts/windows-build
# drives it): Zintara.dll with its resource script, and the test programs that run under Wine.
# The skin container comes from the native build, whose container builder runs on the build
# machine (ZINTARA_SKIN_CONTAINER); expat from a static build for the target found through
# CMAKE_PREFIX_PATH; GoogleTest is built here from the sources Debian ships.

set(ZINTARA_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")

# No DLL of the compiler's run time (libgcc, libstdc++, winpthread) beside the binaries: they
# import system DLLs only.
add_link_options(-static)

find_package(EXPAT REQUIRED)
set_property(TARGET EXPAT::EXPAT APPEND PROPERTY INTERFACE_COMPILE_DEFINITIONS XML_STATIC)

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${ZINTARA_GOOGLETEST_SOURCE} googletest EXCLUDE_FROM_ALL)
foreach(library gtest gtest_main)
    if(NOT TARGET GTest::${library})
        add_library(GTest::${library} ALIAS ${library})
    endif()
endforeach()
enable_testing()

# The four numbers of the DLL's file version: the project's version and a zero.
set(ZINTARA_VERSION_NUMBERS
    ${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0)
string(REPLACE "," "." ZINTARA_FILE_VERSION "${ZINTARA_VERSION_NUMBERS}")

add_subdirectory(source)
add_subdirectory(resource)
add_subdirectory(tests/windows)
include(cmake/Packaging.cmake)
