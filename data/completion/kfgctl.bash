# bash completion for kfgctl(1): its commands and options, and the keys and configuration
# names of the Telvio folder in question, as kfgctl itself lists them (so they follow the
# folder's edition and its KFG.ini).

# COMPREPLY: the lines of $1 that begin with $2, quoted for the shell (names may hold blanks).
_kfgctl_lines() {
    local IFS=$'\n' line
    COMPREPLY=()
    for line in $(compgen -W "$1" -- "$2"); do
        COMPREPLY+=("$(printf '%q' "$line")")
    done
}

_kfgctl() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    local folder=() command="" i
    for ((i = 1; i < COMP_CWORD; i++)); do
        case ${COMP_WORDS[i]} in
        -C)
            ((i++))
            folder=(-C "${COMP_WORDS[i]/#\~/$HOME}")
            ;;
        -*) ;;
        *)
            command=${COMP_WORDS[i]}
            break
            ;;
        esac
    done
    if [[ $prev == -C ]]; then
        compopt -o filenames 2>/dev/null
        COMPREPLY=($(compgen -d -- "$cur"))
        return
    fi
    if [[ -z $command ]]; then
        COMPREPLY=($(compgen -W "edition list show get set save apply delete start history
            restore -C --help --version" -- "$cur"))
        return
    fi
    local keys names
    case $command in
    get | set)
        [[ $cur == *=* ]] && return # values are not completed
        keys=$(kfgctl "${folder[@]}" show 2>/dev/null | sed 's/=.*//')
        if [[ $command == set ]]; then
            _kfgctl_lines "$(printf '%s=\n' $keys)" "$cur"
            compopt -o nospace 2>/dev/null
        else
            _kfgctl_lines "$keys" "$cur"
        fi
        ;;
    show | save | apply | delete | start)
        names=$(kfgctl "${folder[@]}" list 2>/dev/null)
        [[ $command == show ]] && names+=$'\n--json'
        _kfgctl_lines "$names" "$cur"
        ;;
    history)
        COMPREPLY=($(compgen -W "Telvio.ini KFG.ini --json" -- "$cur"))
        ;;
    restore)
        # The numbers come from history; the file and --force after one.
        [[ $prev != restore ]] && COMPREPLY=($(compgen -W "Telvio.ini KFG.ini --force" -- "$cur"))
        ;;
    esac
}
complete -F _kfgctl kfgctl
