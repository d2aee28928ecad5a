#!/usr/bin/env bash
# Fails when README.md or docs/*.md names, in backticks, a path under one of the repository's
# top-level folders that does not exist: a moved or renamed file must take its mentions along.
# Globs and placeholders (* ? [ < {) and build/ (made by the build) are not checked.
#
# Usage: scripts/check-doc-paths.sh [ROOT]   (ROOT defaults to the repository)
set -euo pipefail

root="${1:-$(dirname "${BASH_SOURCE[0]}")/..}"
cd "$root"

folders=()
for dir in */; do
    dir="${dir%/}"
    [[ "$dir" == build ]] || folders+=("$dir")
done

missing=0
for doc in README.md docs/*.md; do
    [[ -f "$doc" ]] || continue
    # Fenced blocks hold commands, not references; the spans of the prose are what is checked.
    while IFS= read -r span; do
        path="${span%%[[:space:]]*}"
        case "$path" in
        *[\*\?\[\<\{]*) continue ;;
        esac
        top="${path%%/*}"
        [[ "$path" == */* ]] || continue
        for folder in "${folders[@]}"; do
            if [[ "$top" == "$folder" ]]; then
                if [[ ! -e "$path" ]]; then
                    echo "$doc: \`$span\` names a path that does not exist" >&2
                    missing=1
                fi
                break
            fi
        done
    done < <(awk '/^[[:space:]]*```/ { fenced = !fenced; next } !fenced' "$doc" |
        grep -o '`[^`]*`' | tr -d '`')
done

if ((missing)); then
    exit 1
fi
echo "Every path the documents name exists."
