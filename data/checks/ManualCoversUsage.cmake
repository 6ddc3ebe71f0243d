# ctest: every tool and option that `cuewright --help` names is in the manual page,
# so that an option added to the program without its manual entry fails here.
# cmake -DPROGRAM=... -DMANUAL=... -P ManualCoversUsage.cmake
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${PROGRAM} --help OUTPUT_VARIABLE usage RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} --help ended with ${status}")
endif()
file(READ ${MANUAL} manual)
# roff writes a minus sign as \-.
string(REPLACE "\\-" "-" manual "${manual}")

string(REGEX MATCHALL "--[a-z][a-z-]*" options "${usage}")
string(REGEX MATCHALL "cuewright [a-z][a-z-]*" tools "${usage}")
list(REMOVE_DUPLICATES options)
list(REMOVE_DUPLICATES tools)
if(NOT options OR NOT tools)
    message(FATAL_ERROR "no options or tools found in the usage:\n${usage}")
endif()

set(missing "")
foreach(option ${options})
    if(NOT manual MATCHES "\\.B[IR]? ${option}[ \n]")
        list(APPEND missing ${option})
    endif()
endforeach()
foreach(tool ${tools})
    # Each tool has a .SY line in the synopsis and a tagged paragraph of its own.
    if(NOT manual MATCHES "\\.SY \"${tool}\"" OR NOT manual MATCHES "\\.B ${tool} ")
        list(APPEND missing "${tool}")
    endif()
endforeach()
if(missing)
    message(FATAL_ERROR "the manual page does not describe: ${missing}")
endif()
list(LENGTH options option_count)
list(LENGTH tools tool_count)
message(STATUS "the manual page describes all ${option_count} options and ${tool_count} tools of the usage")
