# Precompiled headers for the targets whose files all include Qt's or GoogleTest's
# large headers: each of those headers is then parsed once per target, not once per
# file, which takes about a fifth off the sanitized build.
#
# Only for unoptimised builds (Debug: the sanitized one). GCC 12 loses track of which
# code comes from a system header when it comes from a precompiled header, and once it
# inlines (-O1 and above) it then warns about the standard library's own code, such as
# a false -Warray-bounds inside std::string's operator+, which the same file compiled
# without them never shows. Off as well under a compiler cache
# (CMAKE_CXX_COMPILER_LAUNCHER, for example ccache), which caches no file compiled with
# a precompiled header unless it is told how. The headers are the libraries' and the
# standard library's only: a change to one of ours never rebuilds a precompiled
# header. scripts/tidy.sh gives clang-tidy the compile commands without them, so each
# file is still checked to include what it uses.
if(CMAKE_CXX_COMPILER_LAUNCHER OR NOT CMAKE_BUILD_TYPE STREQUAL "Debug")
    set(cuewright_pch_default OFF)
else()
    set(cuewright_pch_default ON)
endif()
option(CUEWRIGHT_PCH
    "Precompile Qt's and GoogleTest's headers (by default in Debug builds without a compiler cache)"
    ${cuewright_pch_default})

# cuewright_precompile(TARGET HEADER...): HEADER... precompiled for TARGET when
# CUEWRIGHT_PCH is on.
function(cuewright_precompile target)
    if(CUEWRIGHT_PCH)
        target_precompile_headers(${target} PRIVATE ${ARGN})
    endif()
endfunction()
