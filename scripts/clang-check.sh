#!/usr/bin/env bash
# Compiles every source file of src/ once more with clang, syntax only, warnings as errors, using
# the flags a configured build recorded. clang warns where GCC is silent (a dropped result of a
# virtual [[nodiscard]] call, for one) at a fraction of the cost of a third build. Each file is
# compiled on its own, without GCC's precompiled headers (KFG_PCH), so a missing include fails.
# Usage: scripts/clang-check.sh BUILD_DIR   (configured with CMAKE_EXPORT_COMPILE_COMMANDS=ON
# and built, so that Qt's generated headers exist)
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
build="${1:?usage: scripts/clang-check.sh BUILD_DIR}"
commands="$build/compile_commands.json"
if [[ ! -f "$commands" ]]; then
    echo "$commands is missing: configure with -DCMAKE_EXPORT_COMPILE_COMMANDS=ON" >&2
    exit 2
fi

python3 - "$commands" "$(pwd)/src/" "$(nproc)" <<'PYTHON'
import concurrent.futures, json, shlex, subprocess, sys

commands_file, source_root, jobs = sys.argv[1], sys.argv[2], int(sys.argv[3])
entries = [e for e in json.load(open(commands_file)) if e["file"].startswith(source_root)]

def check(entry):
    words = shlex.split(entry["command"])
    arguments, skip = [], False
    for word, following in zip(words[1:], words[2:] + [""]):
        if skip:
            skip = False
        elif word in ("-o", "-c"):
            skip = word == "-o"
        elif word == "-include" and following.endswith("cmake_pch.hxx"):
            skip = True  # GCC's precompiled header, which clang cannot read
        elif word != "-Winvalid-pch":
            arguments.append(word)
    command = ["clang++", "-fsyntax-only", "-Werror"] + arguments
    done = subprocess.run(command, cwd=entry["directory"], capture_output=True, text=True)
    return entry["file"], done.returncode, done.stdout + done.stderr

failed = 0
with concurrent.futures.ThreadPoolExecutor(max_workers=jobs) as pool:
    for file, status, output in pool.map(check, entries):
        if status != 0:
            failed += 1
            sys.stderr.write(output)
print(f"clang check: {len(entries) - failed} of {len(entries)} source files of src/ without a warning")
sys.exit(1 if failed else 0)
PYTHON
