# Shared build settings: warnings, sanitizers and the one function that registers tests.

function(zintara_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
    if(ZINTARA_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
    # Once it inlines the standard library at -O3, GCC 12 reports overlapping copies inside
    # std::string's operator+ and overflowing copies inside std::vector::insert where there are
    # none (its bugs 105329 and 106199), which fails a Release build: both are off for that
    # compiler. The sanitizer build still checks every copy.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12
       AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
        target_compile_options(${target} PRIVATE -Wno-restrict -Wno-stringop-overflow)
    endif()
endfunction()

# zintara_library(name SOURCES ... LIBS ...): a static library of module code. Built
# position-independent with hidden visibility, so it can go into the module and into tests.
function(zintara_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    if(NOT ARG_SOURCES)
        # A folder whose sources are still to come: headers only.
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/source)
        target_link_libraries(${name} INTERFACE ${ARG_LIBS})
        return()
    endif()
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/source)
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
    zintara_warnings(${name})
endfunction()

# zintara_add_test(name SOURCES ... LIBS ...): one GoogleTest executable, registered with CTest.
function(zintara_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gmock GTest::gtest_main)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    zintara_warnings(${name})
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
        PROPERTIES ENVIRONMENT "ZINTARA_MODULE=$<TARGET_FILE:Zintara>")
endfunction()
