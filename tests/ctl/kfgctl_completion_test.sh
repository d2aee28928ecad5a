#!/usr/bin/env bash
# kfgctl's bash completion on a copy of a sample folder: commands, the folder's keys and its
# configuration names (one with a blank).
# Usage: kfgctl_completion_test.sh COMPLETION_FILE KFGCTL_FOLDER SAMPLE_FOLDER
set -uo pipefail
completion="$1"
PATH="$2:$PATH"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
cp -r "$3" "$scratch/Tel vio"
printf '[KFG]\r\n[Abend Kino]\r\n[Sport]\r\n' >"$scratch/Tel vio/KFG.ini"
source "$completion"

failed=0
# expect WORDS... -- REPLIES...: completing the last word of WORDS gives REPLIES.
expect() {
    local words=() replies=()
    while [[ $1 != -- ]]; do words+=("$1"); shift; done
    shift
    replies=("$@")
    COMP_WORDS=("${words[@]}")
    COMP_CWORD=$((${#words[@]} - 1))
    COMPREPLY=()
    _kfgctl
    if [[ "${COMPREPLY[*]}" != "${replies[*]}" ]]; then
        echo "FAILED: ${words[*]} gave '${COMPREPLY[*]}', not '${replies[*]}'" >&2
        failed=1
    fi
}

cd "$scratch"
expect kfgctl s -- show set save start
expect kfgctl -C "Tel vio" set Hell -- Helligkeit=
expect kfgctl -C "Tel vio" get Speicher3 -- Speicher3 Speicher30 Speicher31 Speicher32 \
    Speicher33 Speicher34 Speicher35 Speicher36 Speicher37 Speicher38 Speicher39
expect kfgctl -C "Tel vio" apply "" -- 'Abend\ Kino' Sport
expect kfgctl -C "Tel vio" show A -- 'Abend\ Kino'
cd "Tel vio"
expect kfgctl delete S -- Sport
expect kfgctl set Farbe=2 --
expect kfgctl h -- history
expect kfgctl history K -- KFG.ini
expect kfgctl restore "" --
expect kfgctl restore 2 - -- --force
exit "$failed"
