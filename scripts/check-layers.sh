#!/usr/bin/env bash
# Checks that the layer diagram in docs/CONTRIBUTING.md is the one the CMake targets draw: for
# every library of src/ and tools/, the kfg_ libraries it links (kfg_warnings and kfg_version
# aside) are exactly the ones its line names after "->". The diagram is the fenced block
# right after the line "<!-- layers: checked against CMake by scripts/check-layers.sh -->".
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
exec python3 - "$@" <<'PYTHON'
import glob, re, sys

ignored = {"warnings", "version"}
cmake = {}
for path in sorted(glob.glob("src/*/CMakeLists.txt") + ["tools/CMakeLists.txt"]):
    text = re.sub(r"#[^\n]*", "", open(path).read())
    for name in re.findall(r"add_library\(kfg_(\w+)", text):
        cmake.setdefault(name, set())
    for name, body in re.findall(r"target_link_libraries\(kfg_(\w+)\s+([^)]*)\)", text):
        if name in cmake:
            cmake[name] |= {d for d in re.findall(r"\bkfg_(\w+)", body) if d not in ignored}

doc = open("docs/CONTRIBUTING.md").read()
marker = "<!-- layers: checked against CMake by scripts/check-layers.sh -->"
if marker not in doc:
    sys.exit("docs/CONTRIBUTING.md has no layer diagram after the line " + marker)
block = doc.split(marker, 1)[1].split("```", 2)[1]
drawn = {}
for line in block.splitlines():
    line = line.split("#", 1)[0].strip()
    if not line:
        continue
    name, _, deps = line.partition("->")
    name = name.split("(")[0].strip()
    drawn[name] = {d.strip() for d in deps.split(",") if d.strip()}

faults = []
for name in sorted(set(cmake) | set(drawn)):
    if name not in drawn:
        faults.append("%s: a library of CMake the diagram does not draw (links %s)"
                      % (name, ", ".join(sorted(cmake[name])) or "nothing of ours"))
    elif name not in cmake:
        faults.append("%s: drawn, but CMake has no library kfg_%s" % (name, name))
    elif drawn[name] != cmake[name]:
        faults.append("%s: drawn -> %s, but CMake links %s"
                      % (name, ", ".join(sorted(drawn[name])) or "nothing",
                         ", ".join(sorted(cmake[name])) or "nothing of ours"))
if faults:
    print("The layer diagram of docs/CONTRIBUTING.md and the CMake targets disagree:",
          file=sys.stderr)
    for fault in faults:
        print("  " + fault, file=sys.stderr)
    sys.exit(1)
print("The layer diagram draws the %d libraries as CMake links them." % len(cmake))
PYTHON
