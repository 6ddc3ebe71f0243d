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
