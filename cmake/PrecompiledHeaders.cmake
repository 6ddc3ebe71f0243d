# Precompiled headers for the targets whose files all include Qt's or GoogleTest's
# large headers: each of those headers is then parsed once per target, not once per
# file, which takes a fifth to a third off every build of the window and the tests.
#
# Off under a compiler cache (CMAKE_CXX_COMPILER_LAUNCHER, for example ccache), which
# caches no file compiled with a precompiled header unless it is told how. The
# headers are the libraries' and the standard library's only: a change to one of ours
# never rebuilds a precompiled header. scripts/tidy.sh gives clang-tidy the compile
# commands without them, so each file is still checked to include what it uses.
if(CMAKE_CXX_COMPILER_LAUNCHER)
    set(cuewright_pch_default OFF)
else()
    set(cuewright_pch_default ON)
endif()
option(CUEWRIGHT_PCH "Precompile Qt's and GoogleTest's headers (off by default under a compiler cache)"
    ${cuewright_pch_default})

# cuewright_precompile(TARGET HEADER...): HEADER... precompiled for TARGET when
# CUEWRIGHT_PCH is on.
function(cuewright_precompile target)
    if(CUEWRIGHT_PCH)
        target_precompile_headers(${target} PRIVATE ${ARGN})
    endif()
endfunction()
