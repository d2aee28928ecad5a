#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them. Arguments go to every benchmark program,
# for example --benchmark_filter=V320 or --benchmark_min_time=0.1.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/packages.sh

heading "Packages"
ensure_packages build-essential cmake ninja-build g++ libbenchmark-dev qt6-base-dev qt6-svg-dev

heading "Release build of the benchmarks"
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKFG_TESTS=OFF -DKFG_BENCHMARKS=ON
cmake --build build/bench -j"$(nproc)"

shopt -s nullglob
programs=(build/bench/benchmarks/*_benchmark)
if ((${#programs[@]} == 0)); then
    echo "No benchmark programs were built." >&2
    exit 1
fi
for program in "${programs[@]}"; do
    heading "$(basename "$program")"
    "$program" --benchmark_counters_tabular=true "$@"
done
