#!/usr/bin/env bash
# Runs every test on a Debian 12 machine: installs what is missing, then a normal build with
# its tests and the screen reader check (Orca), the same tests under AddressSanitizer and UndefinedBehaviorSanitizer, the fuzz
# targets for a bounded time, the format check and the check that every path the documents
# name exists. Exits non-zero on the first failure.
# Last, it builds the Debian package and checks it, which installs and removes it on this machine.
#
# KFG_FUZZ_SECONDS: how long each fuzz target runs (default 20).
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
root="$(pwd)"
source scripts/packages.sh

jobs="$(nproc)"
fuzz_seconds="${KFG_FUZZ_SECONDS:-20}"
if ! [[ "$fuzz_seconds" =~ ^[0-9]+$ ]] || ((fuzz_seconds < 1)); then
    echo "KFG_FUZZ_SECONDS must be a whole number of seconds of at least 1, not '$fuzz_seconds'" >&2
    exit 2
fi

heading "Packages"
# Qt 6 (with its SVG support, for the icons) draws the program's window; libasound2-dev is
# for the mixer; python3 reads the compile commands for the clang check.
ensure_packages build-essential cmake ninja-build g++ clang libclang-rt-14-dev \
    libgtest-dev libgmock-dev libbenchmark-dev clang-format python3 qt6-base-dev qt6-svg-dev libasound2-dev
# The Debian package and its checks: dpkg-dev (dpkg-shlibdeps) and file build it; lintian,
# desktop-file-utils and appstream check it; xvfb, x11-utils (xwininfo) and libglib2.0-bin
# (gio, the desktop's launcher) start the installed kfg from its menu entry; man-db finds the
# manual pages; weston's headless back end with qt6-wayland runs it as a Wayland client.
# desktop-file-utils also lets the kfg-shortcut tests validate what they write.
ensure_packages dpkg-dev file lintian desktop-file-utils appstream xvfb xauth x11-utils \
    libglib2.0-bin man-db weston qt6-wayland

heading "Format check"
folders=()
for folder in src tests fuzz benchmarks tools; do
    [[ -d "$folder" ]] && folders+=("$folder")
done
sources=()
if ((${#folders[@]} > 0)); then
    mapfile -t sources < <(find "${folders[@]}" -type f \( -name '*.cpp' -o -name '*.h' \) | sort)
fi
if ((${#sources[@]} > 0)); then
    clang-format --dry-run -Werror "${sources[@]}"
    echo "${#sources[@]} files are formatted."
else
    echo "No sources to check."
fi

heading "Paths the documents name"
scripts/check-doc-paths.sh

summaries=()
# run_ctest NAME BUILD_DIR: runs the tests and keeps the closing summary line for the end.
run_ctest() {
    local name="$1" dir="$2" log
    log="$dir/ctest.log"
    ctest --test-dir "$dir" --output-on-failure --no-tests=error -j"$jobs" 2>&1 | tee "$log"
    summaries+=("$name: $(grep -E 'tests passed, [0-9]+ tests? failed out of' "$log" | tail -1)")
}

heading "Release build with tests and benchmarks (RelWithDebInfo, warnings as errors)"
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKFG_WERROR=ON \
    -DKFG_TESTS=ON -DKFG_BENCHMARKS=ON -DCMAKE_EXPORT_COMPILE_COMMANDS=ON
cmake --build build/release -j"$jobs"

heading "clang check of src/ (syntax only, warnings as errors)"
scripts/clang-check.sh build/release

heading "Release tests"
run_ctest "Release" build/release

heading "Screen reader check (Orca on a private desktop)"
scripts/screen-reader-check.sh build/release/src/app/kfg | tee build/screen-reader.log
summaries+=("Screen reader: $(tail -1 build/screen-reader.log)")

heading "Sanitizer build (Debug, AddressSanitizer + UndefinedBehaviorSanitizer)"
cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKFG_SANITIZE=ON -DKFG_WERROR=ON \
    -DKFG_BENCHMARKS=OFF
cmake --build build/sanitize -j"$jobs"

heading "Sanitizer tests"
# Any finding ends the test with a stack trace and a failing exit code.
ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1"
ASAN_OPTIONS+=":check_initialization_order=1:print_stacktrace=1"
export ASAN_OPTIONS
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
run_ctest "Sanitizer" build/sanitize

heading "Fuzz build (clang, libFuzzer)"
# Optimised with debug information, but without NDEBUG: assertions stay live while fuzzing.
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" -DKFG_FUZZ=ON -DKFG_TESTS=OFF -DKFG_BENCHMARKS=OFF -DKFG_GUI=OFF
cmake --build build/fuzz -j"$jobs"

fuzz_count=0
for source in fuzz/*_fuzz.cpp; do
    [[ -e "$source" ]] || continue
    target="$(basename "$source" .cpp)"
    name="${target%_fuzz}"
    heading "Fuzzing $target for ${fuzz_seconds} s"
    seeds="$root/fuzz/corpus/$name"
    scratch="$root/build/fuzz/corpus/$name"
    artifacts="$root/build/fuzz/artifacts"
    mkdir -p "$scratch" "$artifacts"
    corpora=("$scratch")
    [[ -d "$seeds" ]] && corpora+=("$seeds")
    # New inputs go to the scratch corpus (the first folder); the committed seeds stay as they are.
    ASAN_OPTIONS="detect_leaks=1:print_stacktrace=1" UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1" \
        "build/fuzz/fuzz/$target" -max_total_time="$fuzz_seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$artifacts/$target-" "${corpora[@]}"
    fuzz_count=$((fuzz_count + 1))
done
echo "$fuzz_count fuzz targets ran without a finding."

heading "Debian package: build it with the README's command, then check, install and remove it"
scripts/package.sh
scripts/check-package.sh build/package/kfg_*.deb
summaries+=("Debian package: lintian without errors, desktop files and metadata valid, installed, \
started from a menu entry, removed without a trace")

heading "Summary"
echo "Format check passed; $fuzz_count fuzz targets ran ${fuzz_seconds} s each without a finding."
for summary in "${summaries[@]}"; do
    echo "${summary%%:*} tests:"
    echo "${summary#*: }"
done
