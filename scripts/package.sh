#!/usr/bin/env bash
# Builds KFG's Debian package on a Debian 12 machine: installs what is missing, makes a
# Release build with Debian's hardening flags (dpkg-buildflags) and packs it with CPack.
# Precompiled headers (KFG_PCH) and ccache, when it is installed, make the build faster.
# The package lands in build/package/ as kfg_<version>_amd64.deb; its path is the last line
# printed.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/packages.sh
source scripts/compiler-cache.sh

heading "Packages for building the Debian package"
# dpkg-dev gives dpkg-shlibdeps (the package's library dependencies) and dpkg-buildflags;
# file tells CPack which files are programs.
ensure_packages build-essential cmake ninja-build g++ qt6-base-dev qt6-svg-dev libasound2-dev \
    dpkg-dev file

heading "Release build for the package"
export DEB_BUILD_MAINT_OPTIONS="hardening=+all"
# Debian's flags less -g: CPack strips the programs, so their debug information would be thrown
# away, and -g does not change the code GCC generates.
read -ra debian_flags <<<"$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
cxx_flags=()
for flag in "${debian_flags[@]}"; do
    [[ "$flag" == -g ]] || cxx_flags+=("$flag")
done
cmake -S . -B build/package -G Ninja -DCMAKE_BUILD_TYPE=Release -DKFG_TESTS=OFF \
    -DKFG_BENCHMARKS=OFF -DKFG_PCH=ON "${cmake_cache_options[@]}" \
    -DCMAKE_CXX_FLAGS="${cxx_flags[*]}" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)"
cmake --build build/package

heading "Debian package"
rm -f build/package/kfg_*.deb
(cd build/package && cpack -G DEB)
packages=(build/package/kfg_*.deb)
if ((${#packages[@]} != 1)) || [[ ! -f "${packages[0]}" ]]; then
    echo "CPack made no single kfg_*.deb in build/package" >&2
    exit 1
fi
echo "$(pwd)/${packages[0]}"
