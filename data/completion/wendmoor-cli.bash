# bash completion for wendmoor-cli: its options and commands, the four games, and the names of
# the packages (from "wendmoor-cli list GAME") and backups of the game named.

# Prints the output lines of the tool named on the command line, run with the same --settings
# and without waiting for another command.
_wendmoor_cli_run() {
    local i settings=()
    for ((i = 1; i < COMP_CWORD; i++)); do
        [[ ${COMP_WORDS[i]} == --settings ]] && settings=(--settings "${COMP_WORDS[i + 1]}")
    done
    "${COMP_WORDS[0]}" "${settings[@]}" "$@" 2>/dev/null
}

# Offers the lines that begin with the word being completed, quoted for the shell.
_wendmoor_cli_offer() {
    local cur=$1 line
    while IFS= read -r line; do
        [[ -n $line && $line == "$cur"* ]] && COMPREPLY+=("$(printf '%q' "$line")")
    done
}

_wendmoor_cli() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    local i word command="" game="" operands=0
    COMPREPLY=()
    for ((i = 1; i < COMP_CWORD; i++)); do
        word=${COMP_WORDS[i]}
        if [[ -z $command ]]; then
            case $word in
                --settings) ((i++)) ;;
                --*) ;;
                *) command=$word ;;
            esac
        elif [[ -z $game ]]; then
            game=$word
        else
            ((operands++))
        fi
    done

    if [[ $prev == --settings && -z $command ]]; then
        mapfile -t COMPREPLY < <(compgen -f -- "$cur")
        return
    fi
    if [[ -z $command ]]; then
        mapfile -t COMPREPLY < <(compgen -W "--settings --no-wait --help --version list show
            install deinstall refs add detect backups restore" -- "$cur")
        return
    fi
    [[ $command == detect ]] && return
    if [[ -z $game ]]; then
        mapfile -t COMPREPLY < <(compgen -W "caesar3 pharao zeus emperor" -- "$cur")
        return
    fi
    local kinds
    case $command in
        show) kinds=IA ;;
        install) kinds=A ;;
        deinstall) kinds=I ;;
        add)
            mapfile -t COMPREPLY < <(compgen -f -- "$cur")
            [[ --install == "$cur"* ]] && COMPREPLY+=(--install)
            return
            ;;
        backups)
            case $operands in
                0) [[ --remove == "$cur"* ]] && COMPREPLY=(--remove) ;;
                1) _wendmoor_cli_offer "$cur" < <(_wendmoor_cli_run backups "$game" | cut -f1) ;;
            esac
            return
            ;;
        restore)
            case $operands in
                0) _wendmoor_cli_offer "$cur" < <(_wendmoor_cli_run backups "$game" | cut -f1) ;;
                1) [[ --force == "$cur"* ]] && COMPREPLY=(--force) ;;
            esac
            return
            ;;
        *) return ;;
    esac
    ((operands == 0)) || return
    _wendmoor_cli_offer "$cur" < <(_wendmoor_cli_run --no-wait list "$game" |
        sed -n "s/^[$kinds] //p")
}

complete -F _wendmoor_cli wendmoor-cli
