#!/usr/bin/env bash
# Runs every test on a Debian 12 machine: installs what is missing, then a normal build with
# its tests and the screen reader check (Orca), the same tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, the fuzz targets for a bounded time, the format check and the
# check that every path the documents name exists. Exits non-zero on the first failure.
# Last, it builds the Debian package and checks it, which installs and removes it on this machine.
# At the end, after a failure too, a table gives each stage's wall and CPU seconds.
#
# KFG_FUZZ_SECONDS: how long each fuzz target runs (default 20).
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
root="$(pwd)"
source scripts/packages.sh
source scripts/compiler-cache.sh

jobs="$(nproc)"
fuzz_seconds="${KFG_FUZZ_SECONDS:-20}"
if ! [[ "$fuzz_seconds" =~ ^[0-9]+$ ]] || ((fuzz_seconds < 1)); then
    echo "KFG_FUZZ_SECONDS must be a whole number of seconds of at least 1, not '$fuzz_seconds'" >&2
    exit 2
fi

# Stage times. CPU seconds are the user and system time of the processes a stage ran, as
# `times` counts them; it must run in this shell, because a subshell counts only its own.
times_file="$(mktemp /tmp/kfg-test-times-XXXXXX)"
run_start="${EPOCHREALTIME/,/.}"
stage=""
stage_start=0
stage_cpu_start=0
stage_rows=()

children_cpu_seconds() {
    awk 'function seconds(t) { sub(",", ".", t); split(t, part, "m"); return part[1] * 60 + part[2] }
         NR == 2 { printf "%.2f\n", seconds($1) + seconds($2) }' "$times_file"
}

# begin_stage NAME [HEADING]: ends the stage before, prints HEADING (NAME without one) and
# starts NAME's clocks.
begin_stage() {
    end_stage
    heading "${2:-$1}"
    stage="$1"
    stage_start="${EPOCHREALTIME/,/.}"
    times >"$times_file"
    stage_cpu_start="$(children_cpu_seconds)"
}

end_stage() {
    [[ -n "$stage" ]] || return 0
    times >"$times_file"
    stage_rows+=("$(awk -v name="$stage" -v start="$stage_start" -v end="${EPOCHREALTIME/,/.}" \
        -v cpu_start="$stage_cpu_start" -v cpu_end="$(children_cpu_seconds)" \
        'BEGIN { printf "%-44s %7.0f %7.0f", name, end - start, cpu_end - cpu_start }')")
    stage=""
}

# Work that runs beside a stage's own, ended with the script if that fails.
beside=()

print_times() {
    local status=$? failed="$stage" pid
    for pid in "${beside[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    end_stage
    heading "Times"
    printf '%-44s %7s %7s\n' "Stage" "wall s" "CPU s"
    printf '%s\n' "${stage_rows[@]}"
    times >"$times_file"
    awk -v start="$run_start" -v end="${EPOCHREALTIME/,/.}" -v cpu="$(children_cpu_seconds)" \
        'BEGIN { printf "%-44s %7.0f %7.0f\n", "Whole run", end - start, cpu }'
    if ((status != 0)) && [[ -n "$failed" ]]; then
        echo "Stopped by a failure in: $failed"
    fi
    rm -f "$times_file"
}
trap print_times EXIT

begin_stage "Packages"
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

begin_stage "Format check"
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

begin_stage "Paths the documents name, the layers the diagram draws"
scripts/check-doc-paths.sh
scripts/check-layers.sh

summaries=()
# run_ctest NAME BUILD_DIR: runs the tests and keeps the closing summary line for the end.
run_ctest() {
    local name="$1" dir="$2" log
    log="$dir/ctest.log"
    ctest --test-dir "$dir" --output-on-failure --no-tests=error -j"$jobs" 2>&1 | tee "$log"
    summaries+=("$name: $(grep -E 'tests passed, [0-9]+ tests? failed out of' "$log" | tail -1)")
}

begin_stage "Release build" \
    "Release build with tests and benchmarks (RelWithDebInfo, warnings as errors)"
# The reference build: every file compiled on its own, as a developer's build does, so an
# include that is missing fails here. Line tables are all the debug information a test run
# reads (backtraces); full -g would cost a third of the build.
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" -DKFG_WERROR=ON -DKFG_TESTS=ON \
    -DKFG_BENCHMARKS=ON -DKFG_PCH=OFF -DCMAKE_EXPORT_COMPILE_COMMANDS=ON "${cmake_cache_options[@]}"
cmake --build build/release -j"$jobs"

# run_beside LOG COMMAND...: starts COMMAND in the background, its output into LOG. The tests
# mostly wait for the programs they start, which leaves a core for other work.
run_beside() {
    local log="$1"
    shift
    "$@" >"$log" 2>&1 &
    beside+=("$!")
}

# end_beside WHAT LOG: waits for the work started last, prints its log, and fails when it did.
end_beside() {
    local what="$1" log="$2" status=0
    wait "${beside[-1]}" || status=$?
    unset 'beside[-1]'
    heading "$what"
    cat "$log"
    if ((status != 0)); then
        echo "FAILED: $what" >&2
        exit 1
    fi
}

begin_stage "Release tests + clang check of src/" "Release tests, and beside them the clang check"
run_beside build/release/clang-check.log scripts/clang-check.sh build/release
run_ctest "Release" build/release
end_beside "clang check of src/ (syntax only, warnings as errors)" build/release/clang-check.log

begin_stage "Screen reader check" "Screen reader check (Orca on a private desktop)"
scripts/screen-reader-check.sh build/release/src/app/kfg | tee build/screen-reader.log
summaries+=("Screen reader: $(tail -1 build/screen-reader.log)")

begin_stage "Sanitizer build" "Sanitizer build (Debug, AddressSanitizer + UndefinedBehaviorSanitizer)"
# Precompiled headers: this build repeats the release build's files with other flags, and at
# -O0 parsing the headers is much of its work.
cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKFG_SANITIZE=ON -DKFG_WERROR=ON \
    -DKFG_BENCHMARKS=OFF -DKFG_PCH=ON "${cmake_cache_options[@]}"
cmake --build build/sanitize -j"$jobs"

fuzz_targets=()
for source in fuzz/*_fuzz.cpp; do
    [[ -e "$source" ]] && fuzz_targets+=("$(basename "$source" .cpp)")
done

# fuzz_build: the fuzz programs and what they link, nothing else. Optimised with debug
# information, but without NDEBUG: assertions stay live while fuzzing.
fuzz_build() {
    CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" -DKFG_FUZZ=ON -DKFG_TESTS=OFF -DKFG_BENCHMARKS=OFF \
        -DKFG_GUI=OFF -DKFG_PCH=OFF "${cmake_cache_options[@]}"
    if ((${#fuzz_targets[@]} > 0)); then
        cmake --build build/fuzz -j"$jobs" --target "${fuzz_targets[@]}"
    fi
}

begin_stage "Sanitizer tests + fuzz build" \
    "Sanitizer tests, and beside them the fuzz build (clang, libFuzzer)"
mkdir -p build/fuzz
run_beside build/fuzz/build.log fuzz_build
# Any finding ends the test with a stack trace and a failing exit code.
ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1"
ASAN_OPTIONS+=":check_initialization_order=1:print_stacktrace=1"
export ASAN_OPTIONS
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
run_ctest "Sanitizer" build/sanitize
end_beside "Fuzz build (clang, libFuzzer)" build/fuzz/build.log

begin_stage "Fuzzing, targets side by side" \
    "Fuzzing ${#fuzz_targets[@]} targets for ${fuzz_seconds} s each, side by side"
# Each fuzz target runs in one process, so they run together, one per core, each into a log of
# its own that is printed when all have ended.
artifacts="$root/build/fuzz/artifacts"
mkdir -p "$artifacts"
fuzz_pids=()
for target in "${fuzz_targets[@]}"; do
    name="${target%_fuzz}"
    seeds="$root/fuzz/corpus/$name"
    scratch="$root/build/fuzz/corpus/$name"
    mkdir -p "$scratch"
    corpora=("$scratch")
    [[ -d "$seeds" ]] && corpora+=("$seeds")
    # New inputs go to the scratch corpus (the first folder); the committed seeds stay as they are.
    ASAN_OPTIONS="detect_leaks=1:print_stacktrace=1" UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1" \
        "build/fuzz/fuzz/$target" -max_total_time="$fuzz_seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$artifacts/$target-" "${corpora[@]}" \
        >"build/fuzz/$target.log" 2>&1 &
    fuzz_pids+=("$!")
done
fuzz_failed=()
for index in "${!fuzz_targets[@]}"; do
    target="${fuzz_targets[$index]}"
    if ! wait "${fuzz_pids[$index]}"; then
        fuzz_failed+=("$target")
    fi
    heading "Fuzzing $target for ${fuzz_seconds} s"
    cat "build/fuzz/$target.log"
done
if ((${#fuzz_failed[@]} > 0)); then
    echo "Fuzzing found a fault in: ${fuzz_failed[*]} (inputs in $artifacts)" >&2
    exit 1
fi
fuzz_count=${#fuzz_targets[@]}
echo "$fuzz_count fuzz targets ran without a finding."

begin_stage "Debian package build" "Debian package: build it with the README's command"
scripts/package.sh

begin_stage "Debian package check" "Debian package: check, install and remove it"
scripts/check-package.sh build/package/kfg_*.deb
summaries+=("Debian package: lintian without errors, desktop files and metadata valid, installed, \
started from a menu entry, removed without a trace")

end_stage
heading "Summary"
echo "Format check passed; $fuzz_count fuzz targets ran ${fuzz_seconds} s each without a finding."
for summary in "${summaries[@]}"; do
    echo "${summary%%:*} tests:"
    echo "${summary#*: }"
done
