# fish completion for wendmoor-cli: its options and commands, the four games, and the names of
# the packages (from "wendmoor-cli list GAME") and backups of the game named.

# The command and its operands so far, without the options before the command.
function __wendmoor_cli_operands
    set -l tokens (commandline -opc)
    set -e tokens[1]
    while set -q tokens[1]
        switch $tokens[1]
            case --settings
                set -e tokens[1..2]
            case '--*'
                set -e tokens[1]
            case '*'
                break
        end
    end
    string join \n -- $tokens
end

# True when the command is one of the words given and has that many operands before the cursor.
function __wendmoor_cli_at --argument-names operands
    set -l given (__wendmoor_cli_operands)
    test (count $given) -eq $operands; and contains -- "$given[1]" $argv[2..-1]
end

# The tool named on the command line, with the same --settings.
function __wendmoor_cli_run
    set -l tokens (commandline -opc)
    set -l settings
    if set -l at (contains -i -- --settings $tokens)
        set settings --settings $tokens[(math $at + 1)]
    end
    $tokens[1] $settings $argv 2>/dev/null
end

# After "add GAME": files and --install.
function __wendmoor_cli_adding
    set -l given (__wendmoor_cli_operands)
    test "$given[1]" = add; and test (count $given) -ge 2
end

function __wendmoor_cli_packages
    set -l given (__wendmoor_cli_operands)
    set -l kinds IA
    switch $given[1]
        case install
            set kinds A
        case deinstall
            set kinds I
    end
    __wendmoor_cli_run --no-wait list $given[2] | string replace -rf "^[$kinds] " ''
end

function __wendmoor_cli_backups
    set -l given (__wendmoor_cli_operands)
    __wendmoor_cli_run backups $given[2] | string replace -r '\t.*' ''
end

set -l commands list show install deinstall refs add detect backups restore
set -l with_game list show install deinstall refs add backups restore
complete -c wendmoor-cli -f
complete -c wendmoor-cli -n 'test (count (__wendmoor_cli_operands)) -eq 0' -l settings -r -F -d 'Read the folders from this INI file'
complete -c wendmoor-cli -n 'test (count (__wendmoor_cli_operands)) -eq 0' -l no-wait -d 'Fail at once while another command runs'
complete -c wendmoor-cli -n 'test (count (__wendmoor_cli_operands)) -eq 0' -s h -l help -d 'Print the usage'
complete -c wendmoor-cli -n 'test (count (__wendmoor_cli_operands)) -eq 0' -l version -d 'Print the version'
complete -c wendmoor-cli -n 'test (count (__wendmoor_cli_operands)) -eq 0' -a "$commands"
complete -c wendmoor-cli -n "__wendmoor_cli_at 1 $with_game" -a 'caesar3 pharao zeus emperor'
complete -c wendmoor-cli -n '__wendmoor_cli_at 2 show install deinstall' -a '(__wendmoor_cli_packages)'
complete -c wendmoor-cli -n '__wendmoor_cli_at 2 backups' -a --remove
complete -c wendmoor-cli -n '__wendmoor_cli_at 3 backups; or __wendmoor_cli_at 2 restore' -a '(__wendmoor_cli_backups)'
complete -c wendmoor-cli -n '__wendmoor_cli_at 3 restore' -a --force
complete -c wendmoor-cli -n __wendmoor_cli_adding -F -a --install
