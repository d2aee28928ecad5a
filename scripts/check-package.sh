#!/usr/bin/env bash
# Checks the Debian package the way a user meets it, on this Debian 12 machine, as root:
# lintian, the desktop files and the AppStream metadata; then installs it with apt-get, checks
# kfgctl (no window libraries, its bash completion, a run on a sample folder), makes
# a menu entry for a copy of the sample Telvio 3.20 folder named `Tel vio "100%"`, starts KFG
# through that entry under a virtual X server, checks its working folder, its window and that
# everything it loaded comes from the package's dependencies; runs it on a folder under
# weston's headless Wayland back end; finds the manual pages; removes the package and checks
# that every file went with it.
#
# Usage: scripts/check-package.sh PACKAGE.deb
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/packages.sh

if (($# != 1)) || [[ ! -f "$1" ]]; then
    echo "Usage: scripts/check-package.sh PACKAGE.deb" >&2
    exit 2
fi
deb="$(realpath "$1")"
if ((EUID != 0)); then
    echo "Installing the package needs root: run scripts/check-package.sh as root." >&2
    exit 1
fi

scratch="$(mktemp -d /tmp/kfg-package-XXXXXX)"
installed=0
compositor=""
wayland_kfg=""
# Whatever happens, the machine is left without the package, the processes it started and the
# scratch folder.
cleanup() {
    local process
    for process in "$wayland_kfg" "$compositor"; do
        if [[ -n "$process" ]]; then
            kill "$process" 2>/dev/null || true
            wait "$process" 2>/dev/null || true
        fi
    done
    if ((installed)); then
        apt-get remove -y -o DPkg::Lock::Timeout=600 kfg >/dev/null 2>&1 || true
    fi
    rm -rf "$scratch"
}
trap cleanup EXIT

fail() {
    echo "FAILED: $*" >&2
    exit 1
}

heading "lintian"
lintian --fail-on error --display-info "$deb"
echo "lintian found no errors."

heading "Desktop files and AppStream metadata"
dpkg-deb -x "$deb" "$scratch/contents"
desktop_files=("$scratch"/contents/usr/share/applications/*.desktop)
metainfo_files=("$scratch"/contents/usr/share/metainfo/*.metainfo.xml)
[[ -f "${desktop_files[0]}" ]] || fail "the package holds no desktop file"
[[ -f "${metainfo_files[0]}" ]] || fail "the package holds no AppStream metadata"
for file in "${desktop_files[@]}"; do
    desktop-file-validate "$file"
    echo "desktop-file-validate: ${file#"$scratch"/contents} is valid."
done
for file in "${metainfo_files[@]}"; do
    appstreamcli validate --no-net "$file"
done
# The application's own entry is in the menu and opens the folder chooser.
app_entry="$scratch/contents/usr/share/applications/io.kfg.KFG.desktop"
grep -qx 'Exec=kfg --choose-folder' "$app_entry" || fail "the menu entry does not open the chooser"
grep -qx 'Exec=kfg --choose-folder --history' "$app_entry" ||
    fail "the menu entry has no action for the earlier states"
grep -q '^NoDisplay=' "$app_entry" && fail "the menu entry hides itself (NoDisplay)"
echo "The menu entry is shown and opens the folder chooser."

heading "apt-get install"
installed=1
# Without the recommended wine: the checks do not need it, and it would stay on this machine.
apt-get install -y -q --no-install-recommends -o DPkg::Lock::Timeout=600 "$deb"
for program in kfg kfg-shortcut kfgctl; do
    [[ -x "/usr/bin/$program" ]] || fail "/usr/bin/$program is not installed"
done
mapfile -t package_files < <(dpkg -L kfg)

heading "Manual pages"
for page in kfg kfg-shortcut kfgctl; do
    path="$(man -w "$page")"
    [[ "$path" == "/usr/share/man/man1/$page.1.gz" ]] || fail "man finds $page at '$path'"
    warnings="$(MANWIDTH=80 man --warnings "$page" 2>&1 >/dev/null)"
    [[ -z "$warnings" ]] || fail "man $page warns: $warnings"
    echo "man $page: $path"
done

heading "kfgctl: no window libraries, its bash completion, and a run"
# kfgctl runs where there is no display: Qt Gui and Qt Widgets must not be among its libraries.
if ldd /usr/bin/kfgctl | grep -E 'libQt6(Widgets|Gui)'; then
    fail "kfgctl links Qt's window libraries"
fi
completion=/usr/share/bash-completion/completions/kfgctl
[[ -f "$completion" ]] || fail "$completion is not installed"
bash -n "$completion" || fail "$completion is no valid bash"
cp -r examples/V320 "$scratch/kfgctl-folder"
[[ "$(kfgctl -C "$scratch/kfgctl-folder" edition)" == $'edition=V320\nlabel=V 3.20\nsection=Telvio' ]] ||
    fail "kfgctl does not tell the sample folder's edition"
[[ "$(kfgctl -C "$scratch/kfgctl-folder" list)" == $'Abend\nSport' ]] ||
    fail "kfgctl does not list the sample folder's configurations"
echo "kfgctl links no Qt Gui or Widgets, its completion is in $completion, and it reads a folder."

heading "kfg-shortcut on a folder named 'Tel vio \"100%\"'"
folder="$scratch/Tel vio \"100%\""
cp -r examples/V320 "$folder"
folder="$(realpath "$folder")" # the path the entry must name: no symbolic links
export XDG_DATA_HOME="$scratch/data" XDG_STATE_HOME="$scratch/state"
kfg-shortcut "$folder"
hash="$(printf '%s' "$folder" | sha256sum | cut -c1-12)"
entry="$XDG_DATA_HOME/applications/io.kfg.KFG.folder-$hash.desktop"
[[ -f "$entry" ]] || fail "kfg-shortcut wrote no $entry"
cat "$entry"
desktop-file-validate "$entry"
echo "desktop-file-validate: the entry is valid."

heading "KFG started from the menu entry under a virtual X server"
# Started by the desktop's own launcher (GLib's, through gio), the installed kfg must run in
# the folder, show its main window and still run after 3 s. The Qt SVG library that draws the
# icons must be loaded, and every Qt plugin it loaded must come from a package that the kfg
# package depends on, so that a fresh machine has it too (the libraries the plugins link are their packages'
# own dependencies).
mapfile -t closure < <(apt-cache depends --recurse --no-recommends --no-suggests \
    --no-conflicts --no-breaks --no-replaces --no-enhances kfg | grep -v '^ ' | sed 's/^<\(.*\)>$/\1/')
printf '%s\n' "${closure[@]}" >"$scratch/closure"
export KFG_CHECK_FOLDER="$folder" KFG_CHECK_ENTRY="$entry" KFG_CHECK_SCRATCH="$scratch"
PATH=/usr/bin:/bin xvfb-run -a -s "-screen 0 1280x1024x24" bash -euo pipefail -c '
    fail() { echo "FAILED: $*" >&2; exit 1; }
    gio launch "$KFG_CHECK_ENTRY"
    pid=""
    for ((i = 0; i < 100; i++)); do
        for candidate in $(pgrep -x kfg || true); do
            if [[ "$(readlink "/proc/$candidate/cwd" || true)" == "$KFG_CHECK_FOLDER" ]]; then
                pid="$candidate"
            fi
        done
        [[ -n "$pid" ]] && break
        sleep 0.1
    done
    [[ -n "$pid" ]] || fail "no kfg runs in $KFG_CHECK_FOLDER after 10 s"
    echo "kfg (process $pid) runs in $(readlink "/proc/$pid/cwd")"
    [[ "$(readlink "/proc/$pid/exe")" == /usr/bin/kfg ]] || fail "not the installed kfg"
    for ((i = 0; i < 100; i++)); do
        xwininfo -root -tree | grep -q "\"KFG – Telvio\"" && break
        sleep 0.1
    done
    xwininfo -root -tree | grep -q "\"KFG – Telvio\"" || fail "no window \"KFG – Telvio\""
    echo "The window \"KFG – Telvio\" is shown."
    sleep 3
    kill -0 "$pid" 2>/dev/null || fail "kfg ended within 3 s"
    echo "kfg still runs after 3 s."
    grep -o "/[^ ]*\.so[^ ]*" "/proc/$pid/maps" | sort -u >"$KFG_CHECK_SCRATCH/mapped"
    grep -qE "/libQt6Svg\.so" "$KFG_CHECK_SCRATCH/mapped" ||
        fail "kfg runs without the Qt SVG library, so its icons are missing"
    kill "$pid"
'
heading "The desktop actions \"Earlier states\", launched by GLib's launcher"
# As a desktop's menu launches an action: GLib's own launcher through its Python binding. The
# folder's entry opens the window of earlier states in the folder; KFG's own entry asks for the
# folder first.
ensure_packages python3-gi
PATH=/usr/bin:/bin LC_ALL=C.UTF-8 xvfb-run -a -s "-screen 0 1280x1024x24" bash -euo pipefail -c '
    fail() { echo "FAILED: $*" >&2; exit 1; }
    launch() {
        python3 -c "import sys, gi
gi.require_version(\"Gio\", \"2.0\")
from gi.repository import Gio
app = Gio.DesktopAppInfo.new_from_filename(sys.argv[1])
sys.exit(0 if app and app.launch_action(sys.argv[2], None) is None else 1)" "$1" "$2"
    }
    # The kfg started with `arguments` (as its command line joins them), once it shows `title`.
    started() {
        local arguments="$1" title="$2" pid=""
        for ((i = 0; i < 100; i++)); do
            for candidate in $(pgrep -x kfg || true); do
                [[ "$(tr "\0" " " <"/proc/$candidate/cmdline" 2>/dev/null)" == "kfg $arguments " ]] &&
                    pid="$candidate"
            done
            [[ -n "$pid" ]] && xwininfo -root -tree | grep -qF "\"$title" && break
            sleep 0.1
        done
        [[ -n "$pid" ]] || fail "no kfg $arguments runs after 10 s"
        xwininfo -root -tree | grep -qF "\"$title" || fail "kfg $arguments shows no window \"$title\""
        echo "$pid"
    }
    launch "$KFG_CHECK_ENTRY" earlier-states
    pid="$(started "--history" "Earlier states – ")"
    [[ "$(readlink "/proc/$pid/cwd")" == "$KFG_CHECK_FOLDER" ]] ||
        fail "the folder entry'"'"'s action runs in $(readlink "/proc/$pid/cwd")"
    echo "The folder entry'"'"'s action shows the earlier states of $KFG_CHECK_FOLDER."
    kill "$pid"
    launch /usr/share/applications/io.kfg.KFG.desktop earlier-states
    pid="$(started "--choose-folder --history" "KFG – Choose the Telvio folder")"
    echo "KFG'"'"'s own action asks for the folder first."
    kill "$pid"
'

missing=0
while read -r file; do
    owner="$(dpkg -S "$file" 2>/dev/null || dpkg -S "${file#/usr}" 2>/dev/null || true)"
    owner="${owner%%:*}"
    if grep -qxF "$owner" "$scratch/closure"; then
        continue
    fi
    if [[ "$file" == */qt6/plugins/* ]]; then
        echo "  the Qt plugin $file comes from '$owner', which kfg does not depend on" >&2
        missing=1
    else
        # Qt opens some libraries only when they are there (libXcursor for themed cursors).
        echo "  optional, loaded because it is there: $file (${owner:-no package})"
    fi
done <"$scratch/mapped"
((missing == 0)) || fail "kfg loaded Qt plugins its package does not depend on"
echo "Every Qt plugin kfg loaded comes from its dependencies:"
grep "/qt6/plugins/" "$scratch/mapped" | sed 's/^/  /'

heading "kfg FOLDER under a Wayland compositor (weston's headless back end)"
# The package recommends Qt's Wayland plugin; it was installed without its recommendations
# above, so the plugin comes here, with the compositor.
dpkg-deb -f "$deb" Recommends | grep -qw qt6-wayland || fail "the package does not recommend qt6-wayland"
ensure_packages weston qt6-wayland
runtime="$scratch/runtime" # the compositor's socket, private as a login session's
mkdir -m 0700 "$runtime"
XDG_RUNTIME_DIR="$runtime" weston --backend=headless-backend.so --socket=kfg-check \
    --idle-time=0 >"$scratch/weston.log" 2>&1 &
compositor=$!
for ((i = 0; i < 100; i++)); do
    [[ -S "$runtime/kfg-check" ]] && break
    sleep 0.1
done
[[ -S "$runtime/kfg-check" ]] || fail "weston did not start: $(cat "$scratch/weston.log")"
cp -r examples/V320 "$scratch/wayland-folder"
env -C / -u DISPLAY XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY=kfg-check QT_QPA_PLATFORM=wayland \
    PATH=/usr/bin:/bin /usr/bin/kfg "$scratch/wayland-folder" 2>"$scratch/kfg-wayland.err" &
wayland_kfg=$!
sleep 3
if ! kill -0 "$wayland_kfg" 2>/dev/null; then
    fail "kfg ended within 3 s under weston: $(cat "$scratch/kfg-wayland.err")"
fi
[[ "$(readlink "/proc/$wayland_kfg/cwd")" == "$scratch/wayland-folder" ]] ||
    fail "kfg does not run in the folder it was given"
if grep 'qt\.qpa' "$scratch/kfg-wayland.err"; then
    fail "kfg wrote Qt platform warnings under weston"
fi
kill "$wayland_kfg" "$compositor"
wait "$wayland_kfg" "$compositor" 2>/dev/null || true
wayland_kfg=""
compositor=""
echo "kfg ran 3 s in its folder as a Wayland client of weston, with no qt.qpa warning."
[[ "$(env -u DISPLAY -u WAYLAND_DISPLAY kfg --version)" == "kfg "* ]] ||
    fail "kfg --version needs a display"
echo "kfg --version answers without a display."

heading "apt-get remove"
apt-get remove -y -o DPkg::Lock::Timeout=600 kfg
installed=0
left=0
for file in "${package_files[@]}"; do
    if [[ -e "$file" && ! -d "$file" ]]; then
        echo "  left behind: $file" >&2
        left=1
    fi
done
((left == 0)) || fail "apt-get remove kfg left files of the package behind"
[[ -d /usr/share/doc/kfg ]] && fail "/usr/share/doc/kfg is left behind"
echo "apt-get remove kfg removed all ${#package_files[@]} paths of the package."
# The entry stays in the user's home but hides itself: the launcher refuses it now.
if PATH=/usr/bin:/bin gio launch "$entry" 2>/dev/null; then
    fail "the menu entry still starts after kfg was removed"
fi
echo "The menu entry hides itself now that kfg is gone (TryExec)."
