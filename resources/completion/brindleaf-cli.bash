# bash completion for brindleaf-cli: its options, read from its own --help, and folders.

_brindleaf_cli_options() {
    "$1" --help 2>/dev/null | grep -oE -- '(^|[ ,])--?[a-z0-9][a-z0-9-]*' | tr -d ' ,' | sort -u
}

_brindleaf_cli() {
    local cur=${COMP_WORDS[COMP_CWORD]}
    local prev=${COMP_WORDS[COMP_CWORD - 1]}
    COMPREPLY=()
    case $prev in
    --start | --digits | --prefix | --suffix | --postfix | --only | --camera-zone | --camera-shift)
        return 0 # free text
        ;;
    --order)
        mapfile -t COMPREPLY < <(compgen -W "name modified taken" -- "$cur")
        return 0
        ;;
    esac
    local i options_end=0
    for ((i = 1; i < COMP_CWORD; i++)); do
        [[ ${COMP_WORDS[i]} == -- ]] && options_end=1
    done
    if ((!options_end)) && [[ $cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W "$(_brindleaf_cli_options "$1")" -- "$cur")
        return 0
    fi
    compopt -o filenames 2>/dev/null
    mapfile -t COMPREPLY < <(compgen -d -- "$cur")
}

complete -F _brindleaf_cli brindleaf-cli
