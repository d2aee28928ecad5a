#!/usr/bin/env bash
# Compiles every source file of src/ once more with clang, syntax only, warnings as errors, using
# the flags a configured build recorded. clang warns where GCC is silent (a dropped result of a
# virtual [[nodiscard]] call, for one) at a fraction of the cost of a third build. The files that
# share their flags share a clang precompiled header of the system and Qt headers they include,
# which halves the time; so it is the build without precompiled headers (scripts/test.sh's
# release build) that finds a missing include, not this check.
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
headers="$(realpath "$build")/clang-check"
mkdir -p "$headers"

python3 - "$commands" "$(pwd)/src/" "$(nproc)" "$headers" <<'PYTHON'
import collections, concurrent.futures, json, re, shlex, subprocess, sys

commands_file, source_root, jobs, headers = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4]
entries = [e for e in json.load(open(commands_file)) if e["file"].startswith(source_root)]

def arguments_of(entry):
    words = shlex.split(entry["command"])
    arguments, skip = [], False
    for word, following in zip(words[1:], words[2:] + [""]):
        if skip:
            skip = False
        elif word in ("-o", "-c"):
            skip = word == "-o"
        elif word == "-include" and following.endswith("cmake_pch.hxx"):
            skip = True  # GCC's precompiled header (KFG_PCH), which clang cannot read
        elif word != "-Winvalid-pch" and word != entry["file"]:
            arguments.append(word)
    return arguments

# Files with the same flags form a group; a group of two or more gets a precompiled header of
# the <...> headers its files include.
groups = collections.defaultdict(list)
for entry in entries:
    groups[(entry["directory"], tuple(arguments_of(entry)))].append(entry)

def precompile(numbered):
    number, key = numbered
    directory, arguments = key
    included = []
    for entry in groups[key]:
        for line in open(entry["file"], encoding="utf-8"):
            found = re.match(r"#include (<[^>]+>)", line)
            if found and found.group(1) not in included:
                included.append(found.group(1))
    header = f"{headers}/group{number}.h"
    with open(header, "w", encoding="utf-8") as out:
        out.writelines(f"#include {name}\n" for name in included)
    done = subprocess.run(["clang++", "-x", "c++-header", *arguments, header, "-o", header + ".pch"],
                          cwd=directory, capture_output=True, text=True)
    if done.returncode != 0:
        sys.stderr.write(done.stdout + done.stderr)
        return key, None  # its files are checked without one
    return key, header + ".pch"

shared = [key for key in groups if len(groups[key]) > 1]
with concurrent.futures.ThreadPoolExecutor(max_workers=jobs) as pool:
    precompiled = dict(pool.map(precompile, enumerate(shared)))

def check(entry):
    arguments = arguments_of(entry)
    pch = precompiled.get((entry["directory"], tuple(arguments)))
    command = ["clang++", "-fsyntax-only", "-Werror"] + (["-include-pch", pch] if pch else [])
    done = subprocess.run(command + arguments + [entry["file"]], cwd=entry["directory"],
                          capture_output=True, text=True)
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
