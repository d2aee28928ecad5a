# Sourced by the scripts in this folder that configure a build: cmake_cache_options holds the
# CMake option that puts ccache in front of the compiler when it is installed. Nothing needs it
# (a fresh machine has nothing cached); a developer's repeated runs are faster with it.
cmake_cache_options=(-DCMAKE_CXX_COMPILER_LAUNCHER=)
if command -v ccache >/dev/null; then
    cmake_cache_options=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    # Paths below the work tree hash alike in every clone; the precompiled headers are cached
    # only when ccache may ignore their macros and time stamps.
    export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(pwd)}"
    if [[ ",${CCACHE_SLOPPINESS:-}," != *,pch_defines,* ]]; then
        export CCACHE_SLOPPINESS="${CCACHE_SLOPPINESS:+$CCACHE_SLOPPINESS,}pch_defines,time_macros,include_file_mtime,include_file_ctime"
    fi
fi
