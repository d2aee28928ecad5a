#!/usr/bin/env bash
# Shows KFG over a bundled sample Telvio folder: installs what is missing, builds, copies the
# sample folder to a scratch place and starts kfg there. Without a display it says so and
# renders the windows to PNG files instead.
#
# Usage: scripts/demo.sh [EDITION]   EDITION: V283, Erazor, V31, V311, V283Quik or V320 (default)
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
root="$(pwd)"
source scripts/packages.sh

edition="${1:-V320}"
if [[ ! -d "examples/$edition" ]]; then
    echo "No sample folder examples/$edition; choose one of: $(ls examples | grep -v README | tr '\n' ' ')" >&2
    exit 2
fi

heading "Packages"
ensure_packages build-essential cmake ninja-build g++ qt6-base-dev qt6-svg-dev libasound2-dev

heading "Build"
cmake -S . -B build/demo -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKFG_TESTS=OFF \
    -DKFG_BENCHMARKS=OFF
cmake --build build/demo -j"$(nproc)" --target kfg kfg-snapshots

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
    heading "No display"
    echo "There is no display to show a window on (neither DISPLAY nor WAYLAND_DISPLAY is set)."
    echo "Rendering KFG's windows to pictures instead:"
    build/demo/tools/kfg-snapshots "$root/build/snapshots" "$root/examples"
    exit 0
fi

scratch="$(mktemp -d "${TMPDIR:-/tmp}/kfg-demo-XXXXXX")"
cp -R "examples/$edition/." "$scratch/"
heading "Starting kfg in $scratch (a copy of examples/$edition)"
cd "$scratch"
"$root/build/demo/src/app/kfg"
echo "KFG ended. The folder it worked in stays for a look: $scratch"
