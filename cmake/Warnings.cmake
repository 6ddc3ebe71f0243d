# One interface target that every target of the project links: warnings, and the
# sanitizers when they are switched on.
add_library(cuewright_warnings INTERFACE)

if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(cuewright_warnings INTERFACE
        -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wnon-virtual-dtor -Wold-style-cast
        -Wcast-align -Woverloaded-virtual -Wnull-dereference -Wimplicit-fallthrough)
    if(CUEWRIGHT_WERROR)
        target_compile_options(cuewright_warnings INTERFACE -Werror)
    endif()
    # GCC 12 warns about overlapping copies inside std::string when it inlines a short
    # string's assignment at -O2 and above (GCC bug 105329, fixed in GCC 13): the warning
    # names libstdc++'s own code, never ours, so it says nothing about this program.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
        target_compile_options(cuewright_warnings INTERFACE -Wno-restrict)
    endif()
    if(CUEWRIGHT_SANITIZE OR CUEWRIGHT_FUZZ)
        target_compile_options(cuewright_warnings INTERFACE
            -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
        target_link_options(cuewright_warnings INTERFACE -fsanitize=address,undefined)
    endif()
    if(CUEWRIGHT_FUZZ)
        if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
            message(FATAL_ERROR "CUEWRIGHT_FUZZ needs clang (libFuzzer)")
        endif()
        target_compile_options(cuewright_warnings INTERFACE -fsanitize=fuzzer-no-link)
    endif()
elseif(MSVC)
    target_compile_options(cuewright_warnings INTERFACE /W4 /permissive- /utf-8)
    if(CUEWRIGHT_WERROR)
        target_compile_options(cuewright_warnings INTERFACE /WX)
    endif()
    if(CUEWRIGHT_SANITIZE)
        target_compile_options(cuewright_warnings INTERFACE /fsanitize=address)
    endif()
endif()
