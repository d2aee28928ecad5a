#!/usr/bin/env bash
# The screen reader check: Orca tabs through KFG's windows on a desktop of its own (Xvfb, a
# window manager, D-Bus with the accessibility bus), and what it says is compared with the
# sample folders in examples/ (tests/screen_reader/). Installs what it needs when missing.
# Fails, never skips, when Orca cannot run. Orca's speech stays in build/screen-reader/.
#
# Usage: scripts/screen-reader-check.sh [KFG]   (KFG defaults to build/release/src/app/kfg)
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/packages.sh

kfg="${1:-build/release/src/app/kfg}"
if [[ ! -x "$kfg" ]]; then
    echo "No kfg at $kfg: build it first (cmake --build build/release --target kfg)." >&2
    exit 2
fi

# Orca and the accessibility bus; Xvfb and jwm for the desktop, xprop to see the window
# manager up; Debian's Python with the AT-SPI bindings drives the keyboard.
ensure_packages orca at-spi2-core dbus-daemon xvfb x11-utils jwm python3-gi gir1.2-atspi-2.0 \
    gir1.2-gtk-3.0

logs=build/screen-reader
mkdir -p "$logs"
check=(/usr/bin/python3 tests/screen_reader/orca_check.py "$kfg" examples "$logs")
# In a process and mount namespace of its own where the system allows one: an Orca or desktop
# already running on this machine stays out, and nothing the check starts outlives it.
if unshare --pid --fork --mount-proc --kill-child true 2>/dev/null; then
    unshare --pid --fork --mount-proc --kill-child "${check[@]}"
else
    echo "(No private process namespace here: running beside whatever else runs.)"
    "${check[@]}"
fi
