#!/usr/bin/env bash
# kfgctl's bash completion, sourced into plain bash, on copies of a sample folder: commands,
# the folder's keys and its configuration names. The names are ones a copied KFG.ini may
# hold; completing them must run nothing and offer words the shell reads back as the names.
# Usage: kfgctl_completion_test.sh COMPLETION_FILE KFGCTL_FOLDER SAMPLE_FOLDER
set -uo pipefail
completion="$1"
PATH="$2:$PATH"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
export HOME="$scratch"
cp -r "$3" "$scratch/Tel vio"
printf '[KFG]\r\n[$(touch PWNED)]\r\n[`touch PWNED2`]\r\n[~root]\r\n[{a,b}]\r\n[Mein Abend]\r\n[-h]\r\n' \
    >"$scratch/Tel vio/KFG.ini"
mkdir "$scratch/a:b" "$scratch/sandbox"
cp -r "$3" "$scratch/a:b/Zwei"
printf '[KFG]\r\n[Abend Kino]\r\n[it'\''s "*"]\r\n[Sp\xe4tfilm]\r\n[Kino:2]\r\n' >"$scratch/a:b/Zwei/KFG.ini"
source "$completion"

failed=0
# expect LINE [TEXT] -- WORDS...: pressing Tab at the end of LINE offers completions that, each
# put in place of TEXT (readline's part of the last word: the whole word unless given, the
# rest after an open quote or a ":"), make the shell read the last word as WORDS, in order.
expect() {
    local line=$1 text completed read_back=() reply
    shift
    if [[ $1 == -- ]]; then
        text=${line##*[ ]}
    else
        text=$1
        shift
    fi
    shift
    COMP_LINE=$line COMP_POINT=${#line}
    read -ra COMP_WORDS <<<"$line"
    [[ $line == *' ' ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _kfgctl kfgctl "$text" "${COMP_WORDS[COMP_CWORD - 1]}"
    # Readline closes a quote left open before its part of the word.
    local before=${line%"$text"} close=""
    [[ ${before: -1} == [\'\"] ]] && close=${before: -1}
    for reply in "${COMPREPLY[@]}"; do
        # How the shell reads the completed word; whatever it might run runs in the sandbox.
        completed=$(cd "$scratch/sandbox" && eval "words=($before$reply$close)" &&
            printf '%s' "${words[-1]}")
        read_back+=("$completed")
    done
    if [[ "${read_back[*]-}" != "$*" || ${#read_back[@]} -ne $# ]]; then
        echo "FAILED: '$line' offered '${COMPREPLY[*]-}', read back as '${read_back[*]-}'," \
            "not '$*'" >&2
        failed=1
    fi
}

cd "$scratch"
expect 'kfgctl s' -- show set save start
expect 'kfgctl -C Tel\ vio set Hell' -- Helligkeit=
expect 'kfgctl -C "Tel vio" set Farbe=2' '2' --
expect 'kfgctl get -C "Tel vio" Speicher3' -- Speicher3 Speicher30 Speicher31 Speicher32 \
    Speicher33 Speicher34 Speicher35 Speicher36 Speicher37 Speicher38 Speicher39
# A folder holding ":" (a word of its own to COMP_WORDS), and -C chained after the command.
expect 'kfgctl -C a:' '' -- 'a:b/'
expect 'kfgctl -C ~/a:b/Z' 'b/Z' -- "$scratch/a:b/Zwei/"
# Hidden folders only when the part typed begins with ".".
mkdir -p h/.x h/y h/.y/z
expect 'kfgctl -C h/' -- 'h/y/'
expect 'kfgctl -C h/.' -- 'h/.x/' 'h/.y/'
expect 'kfgctl -C h/.y' -- 'h/.y/'
expect 'kfgctl -C h/.y/' -- 'h/.y/z/'
expect 'kfgctl -C a:b apply -C Zwei ' -- 'Abend Kino' "it's \"*\"" $'Sp\xc3\xa4tfilm' 'Kino:2'
expect 'kfgctl -C a:b/Zwei show Kino:' '' -- 'Kino:2'
expect 'kfgctl -C a:b/Zwei show "it' 'it' -- "it's \"*\""
expect "kfgctl -C a:b/Zwei show 'it" 'it' -- "it's \"*\""
expect 'kfgctl -C a:b/Zwei show Sp' -- $'Sp\xc3\xa4tfilm'
expect 'kfgctl -C a:b/Zwei show Sport ' --
expect 'kfgctl -C ~/Tel\ vio delete {' -- '{a,b}'
cd "Tel vio"
expect 'kfgctl show ' -- '$(touch PWNED)' '`touch PWNED2`' '~root' '{a,b}' 'Mein Abend' -h
expect 'kfgctl show Mein\ A' 'Mein\ A' -- 'Mein Abend'
expect "kfgctl show 'Mein A" 'Mein A' -- 'Mein Abend'
expect 'kfgctl delete ~' -- '~root'
expect 'kfgctl show -' -- -C --json -h
expect 'kfgctl show -- -' -- -h
expect 'kfgctl -- show {' -- '{a,b}'
if [[ -n $(find "$scratch" -name 'PWNED*') ]]; then
    echo "FAILED: completing ran a configuration name" >&2
    failed=1
fi
expect 'kfgctl h' -- history
expect 'kfgctl history K' -- KFG.ini
expect 'kfgctl restore ' --
expect 'kfgctl restore 2 -' -- -C --force
expect 'kfgctl restore 2 T' -- Telvio.ini
exit "$failed"
