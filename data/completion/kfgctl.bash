# bash completion for kfgctl(1): its commands and options, and the keys and configuration
# names of the Telvio folder in question, as kfgctl itself lists them (so they follow the
# folder's edition and its KFG.ini).
#
# Configuration names come from files people copy from others: they are data. Nothing here
# expands or evaluates them (no eval, no compgen -W); they are matched by literal prefix and
# offered quoted, so the shell reads each back as the name it is. The command line is read
# from COMP_LINE, as the shell reads words, because COMP_WORDS also splits at ":" and "=".
# Needs nothing but bash itself.

# _kfgctl_split TEXT: the words of TEXT as the shell reads them, quotes and backslashes
# removed and nothing expanded: _kfgctl_word (as read) and _kfgctl_raw (as typed). The last
# word is the one the text ends in (empty after a blank); _kfgctl_open is the quote still
# open at the end of TEXT (', " or $').
_kfgctl_split() {
    local text=$1 c word="" raw="" quote="" body="" started="" i=0
    _kfgctl_word=() _kfgctl_raw=() _kfgctl_open=""
    for ((i = 0; i < ${#text}; i++)); do
        c=${text:i:1}
        case $quote in
        "'")
            [[ $c == "'" ]] && quote="" || word+=$c
            ;;
        '"')
            if [[ $c == '"' ]]; then
                quote=""
            elif [[ $c == '\' && ${text:i+1:1} == [\"\\\$\`] ]]; then
                word+=${text:i+1:1} raw+=$c
                ((i++))
                c=${text:i:1}
            elif [[ $c == '\' && ${text:i+1:1} == $'\n' ]]; then
                raw+=$c
                ((i++))
                c=${text:i:1}
            else
                word+=$c
            fi
            ;;
        "\$'")
            if [[ $c == "'" ]]; then
                word+=${body@E} quote="" body=""
            elif [[ $c == '\' && $((i + 1)) -lt ${#text} ]]; then
                body+=$c${text:i+1:1} raw+=$c
                ((i++))
                c=${text:i:1}
            else
                body+=$c
            fi
            ;;
        *)
            case $c in
            ' ' | $'\t' | $'\n')
                if [[ -n $started ]]; then
                    _kfgctl_word+=("$word") _kfgctl_raw+=("$raw")
                fi
                word="" raw="" started=""
                continue
                ;;
            '\')
                if ((i + 1 < ${#text})); then
                    [[ ${text:i+1:1} == $'\n' ]] || word+=${text:i+1:1}
                    raw+=$c
                    ((i++))
                    c=${text:i:1}
                fi
                ;;
            "'" | '"') quote=$c ;;
            '$')
                if [[ ${text:i+1:1} == "'" ]]; then
                    quote="\$'" raw+=$c
                    ((i++))
                    c=${text:i:1}
                elif [[ ${text:i+1:1} == '"' ]]; then # a translated string reads as "..."
                    quote='"' raw+=$c
                    ((i++))
                    c=${text:i:1}
                else
                    word+=$c
                fi
                ;;
            *) word+=$c ;;
            esac
            ;;
        esac
        raw+=$c started=1
    done
    [[ $quote == "\$'" ]] && word+=${body@E}
    _kfgctl_word+=("$word") _kfgctl_raw+=("$raw") _kfgctl_open=$quote
}

# _kfgctl_home N: the folder word N as the shell reads it, with a leading unquoted "~" or
# "~user" expanded (the user's home from the passwd database). _kfgctl_tilde is the "~" part
# as typed, _kfgctl_home_dir what it stands for (both empty when nothing was expanded).
_kfgctl_home() {
    local word=${_kfgctl_word[$1]} user
    _kfgctl_tilde="" _kfgctl_home_dir=""
    if [[ ${_kfgctl_raw[$1]} =~ ^~([A-Za-z0-9._-]*)(/|$) ]]; then
        user=${BASH_REMATCH[1]}
        if [[ -z $user ]]; then
            _kfgctl_home_dir=$HOME
        else
            _kfgctl_home_dir=$(getent passwd -- "$user" 2>/dev/null | cut -d: -f6)
        fi
        if [[ -n $_kfgctl_home_dir ]]; then
            _kfgctl_tilde="~$user"
            word=$_kfgctl_home_dir${word:${#_kfgctl_tilde}}
        fi
    fi
    REPLY=$word
}

# _kfgctl_quote TEXT: TEXT written so the shell reads it back unchanged after what was typed,
# inside the quote still open there (_kfgctl_open), or bare.
_kfgctl_quote() {
    local c i
    REPLY=""
    case $_kfgctl_open in
    "'")
        for ((i = 0; i < ${#1}; i++)); do
            c=${1:i:1}
            [[ $c == "'" ]] && REPLY+="'\\''" || REPLY+=$c
        done
        ;;
    '"')
        for ((i = 0; i < ${#1}; i++)); do
            c=${1:i:1}
            case $c in
            '"' | '\' | '$' | '`') REPLY+="\\$c" ;;
            '!') REPLY+="\"'!'\"" ;; # history expansion stops at single quotes only
            *) REPLY+=$c ;;
            esac
        done
        ;;
    "\$'")
        for ((i = 0; i < ${#1}; i++)); do
            c=${1:i:1}
            [[ $c == "'" || $c == '\' ]] && REPLY+="\\$c" || REPLY+=$c
        done
        ;;
    *)
        [[ -n $1 ]] && printf -v REPLY %q "$1"
        ;;
    esac
}

# _kfgctl_offer CANDIDATE...: COMPREPLY gets the candidates that begin with the word being
# completed (_kfgctl_cur, as the shell reads it), each written so that the shell reads the
# completed word back as the candidate. Readline replaces only its own part of the word
# (_kfgctl_text: after an open quote or a ":"); a word it replaces whole is offered quoted
# afresh, so nothing typed unquoted (a "*", a "~") is left to expand.
_kfgctl_offer() {
    local candidate
    COMPREPLY=()
    for candidate; do
        [[ $candidate == "$_kfgctl_cur"* ]] || continue
        if [[ -n $_kfgctl_open || $_kfgctl_text != "$_kfgctl_rawcur" ]]; then
            _kfgctl_quote "${candidate:${#_kfgctl_cur}}"
            COMPREPLY+=("$_kfgctl_text$REPLY")
        else
            _kfgctl_quote "${candidate:${#_kfgctl_home_dir}}"
            COMPREPLY+=("$_kfgctl_tilde$REPLY")
        fi
    done
}

# _kfgctl_folders PATH: the folders whose path begins with PATH, each ending in "/"; hidden
# ones only when the last part of PATH begins with ".".
_kfgctl_folders() {
    local dir=${1%"${1##*/}"} base=${1##*/} entry
    local -a entries
    # Globbing in a subshell keeps the user's shell options (nullglob, failglob...) as they are.
    mapfile -d '' entries < <(
        shopt -s nullglob dotglob
        shopt -u failglob nocaseglob
        for entry in "${dir:-./}"*; do
            [[ -d $entry ]] && printf '%s\0' "${entry#"${dir:-./}"}"
        done
    )
    REPLY=()
    for entry in "${entries[@]}"; do
        [[ $entry == .* && $base != .* ]] && continue
        REPLY+=("$dir$entry/")
    done
}

# kfgctl's commands, and the options each takes besides -C, as kfgctl's command table
# (src/ctl/ctl_command_table.cpp) has them: a test fails when the two differ.
_kfgctl_commands=(edition list show get set save apply delete start history restore)
_kfgctl_own_options() {
    case $1 in
    show | history) REPLY=(--json) ;;
    restore) REPLY=(--force) ;;
    *) REPLY=() ;;
    esac
}

_kfgctl() {
    local -a _kfgctl_word _kfgctl_raw
    local _kfgctl_open _kfgctl_cur _kfgctl_rawcur _kfgctl_text _kfgctl_tilde _kfgctl_home_dir REPLY
    _kfgctl_split "${COMP_LINE:0:COMP_POINT}"
    local last=$((${#_kfgctl_word[@]} - 1))
    # The program completed is the one typed when it is given with its path.
    local kfgctl=(command kfgctl)
    if [[ ${_kfgctl_word[0]} == */* ]]; then
        _kfgctl_home 0
        kfgctl=("$REPLY")
    fi
    _kfgctl_rawcur=${_kfgctl_raw[last]} _kfgctl_text=${2-${_kfgctl_raw[last]}}
    _kfgctl_cur=${_kfgctl_word[last]}

    # -C may stand before or after the command, each relative to the one before; "--" ends the
    # options, so later words are names even when they begin with "-".
    local folders=() command="" arguments=0 options=1 folder_next="" i word
    for ((i = 1; i < last; i++)); do
        word=${_kfgctl_word[i]}
        if [[ -n $folder_next ]]; then
            _kfgctl_home "$i"
            folders+=(-C "$REPLY") folder_next=""
        elif [[ -n $options && $word == -?* ]]; then
            case $word in
            --) options="" ;;
            -C) folder_next=1 ;;
            -C*) folders+=(-C "${word:2}") ;;
            esac
        elif [[ -z $command ]]; then
            command=$word
        else
            ((arguments++))
        fi
    done
    _kfgctl_tilde="" _kfgctl_home_dir="" # the word completed has its own
    if [[ -n $folder_next ]]; then
        _kfgctl_home "$last"
        _kfgctl_cur=$REPLY
        _kfgctl_folders "$_kfgctl_cur"
        _kfgctl_offer "${REPLY[@]}"
        compopt -o nospace 2>/dev/null
        return
    fi
    if [[ -z $command ]]; then
        local commands=("${_kfgctl_commands[@]}")
        [[ -n $options ]] && commands+=(-C --help --version)
        _kfgctl_offer "${commands[@]}"
        return
    fi

    # Options are offered for a word that begins with "-" while they still count.
    local offers=() line
    if [[ -n $options && $_kfgctl_cur == -* ]]; then
        _kfgctl_own_options "$command"
        offers=(-C "${REPLY[@]}")
    fi
    case $command in
    get | set)
        [[ $_kfgctl_cur == *=* ]] && return # values are not completed
        if [[ $command == set ]] || ((arguments == 0)); then
            while IFS= read -r line; do
                [[ $command == set ]] && offers+=("${line%%=*}=") || offers+=("${line%%=*}")
            done < <("${kfgctl[@]}" "${folders[@]}" show 2>/dev/null </dev/null)
        fi
        _kfgctl_offer "${offers[@]}"
        [[ $command == set ]] && compopt -o nospace 2>/dev/null
        ;;
    show | save | apply | delete | start)
        if ((arguments == 0)); then
            mapfile -t -O "${#offers[@]}" offers < <("${kfgctl[@]}" "${folders[@]}" list \
                2>/dev/null </dev/null)
        fi
        _kfgctl_offer "${offers[@]}"
        ;;
    history)
        ((arguments == 0)) && offers+=(Telvio.ini KFG.ini)
        _kfgctl_offer "${offers[@]}"
        ;;
    restore)
        # The numbers come from history; the file after one.
        ((arguments == 1)) && offers+=(Telvio.ini KFG.ini)
        _kfgctl_offer "${offers[@]}"
        ;;
    *) # no arguments to complete, only the options
        _kfgctl_offer "${offers[@]}"
        ;;
    esac
}
complete -F _kfgctl kfgctl
