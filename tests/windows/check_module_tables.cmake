# Checks Zintara.dll's tables with objdump -p: the export table names exactly InitDll, ExitDll
# and GetPluginFactory, and every imported DLL is one that a plain Windows installation has.
# Usage: cmake -DOBJDUMP=... -DMODULE=... -P check_module_tables.cmake
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${OBJDUMP} -p ${MODULE} OUTPUT_VARIABLE tables RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "${OBJDUMP} -p ${MODULE} failed")
endif()

# The names follow "[Ordinal/Name Pointer] Table", one "\t[   0] Name" line each.
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table\n(\t\\[ *[0-9]+\\] [^\n]+\n)+" exports
       "${tables}")
string(REGEX MATCHALL "\t\\[ *[0-9]+\\] [^\n]+" lines "${exports}")
set(names)
foreach(line ${lines})
    string(REGEX REPLACE ".*\\] " "" name "${line}")
    list(APPEND names ${name})
endforeach()
list(SORT names)
if(NOT names STREQUAL "ExitDll;GetPluginFactory;InitDll")
    message(FATAL_ERROR "exports are '${names}', not exactly ExitDll, GetPluginFactory, InitDll")
endif()

set(system_dlls kernel32.dll user32.dll advapi32.dll ole32.dll shell32.dll msvcrt.dll)
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${tables}")
if(NOT imports)
    message(FATAL_ERROR "no import table found")
endif()
foreach(line ${imports})
    string(REGEX REPLACE "DLL Name: " "" dll "${line}")
    string(TOLOWER "${dll}" dll)
    if(NOT dll IN_LIST system_dlls)
        message(FATAL_ERROR "imports ${dll}, which is not a system DLL")
    endif()
endforeach()
message(STATUS "exports: ${names}; imports: ${imports}")
