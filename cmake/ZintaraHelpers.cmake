# Shared build settings: warnings, sanitizers and the one function that registers tests.

function(zintara_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
    if(ZINTARA_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
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
