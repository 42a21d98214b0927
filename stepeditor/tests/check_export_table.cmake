# Reads the export table of the built library with objdump -p and checks
# that it holds exactly the names the program resolves (quarnel_names in
# stepeditor/api/quarnel_api.h): a missing name, a name decorated by a
# calling convention, or anything more than the library's interface fails.
#
#   cmake -DOBJDUMP=... -DLIBRARY=quarnel.dll -DAPI_HEADER=quarnel_api.h -P check_export_table.cmake
foreach(var OBJDUMP LIBRARY API_HEADER)
    if(NOT ${var})
        message(FATAL_ERROR "check_export_table.cmake needs -D${var}=...")
    endif()
endforeach()

file(READ "${API_HEADER}" header)
string(REGEX MATCH "namespace quarnel_names {[^}]*}" block "${header}")
string(REGEX MATCHALL "constexpr char k[A-Za-z]+\\[\\] = \"[A-Za-z_]+\";" lines "${block}")
set(expected)
foreach(line IN LISTS lines)
    string(REGEX REPLACE ".*\"([A-Za-z_]+)\".*" "\\1" name "${line}")
    list(APPEND expected ${name})
endforeach()
list(LENGTH expected count)
if(count EQUAL 0)
    message(FATAL_ERROR "no export names found in ${API_HEADER}")
endif()

execute_process(COMMAND "${OBJDUMP}" -p "${LIBRARY}" OUTPUT_VARIABLE dump RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} -p ${LIBRARY} failed")
endif()
# The name table, one "[   0] Name" line an export.
string(FIND "${dump}" "[Ordinal/Name Pointer] Table" at)
if(at EQUAL -1)
    message(FATAL_ERROR "${LIBRARY} has no export name table:\n${dump}")
endif()
string(SUBSTRING "${dump}" ${at} -1 table)
string(REGEX MATCHALL "\n[ \t]*\\[[ 0-9]+\\] [^\n]+" rows "${table}")
set(exported)
foreach(row IN LISTS rows)
    string(REGEX REPLACE "^\n[ \t]*\\[[ 0-9]+\\] " "" name "${row}")
    string(STRIP "${name}" name)
    list(APPEND exported "${name}")
endforeach()

list(SORT expected)
list(SORT exported)
if(NOT expected STREQUAL exported)
    set(missing ${expected})
    list(REMOVE_ITEM missing ${exported})
    set(extra ${exported})
    list(REMOVE_ITEM extra ${expected})
    message(FATAL_ERROR "${LIBRARY}'s export table differs from the names the program resolves.\n"
                        "Missing: ${missing}\nNot expected: ${extra}")
endif()
message(STATUS "${LIBRARY} exports: ${exported}")
