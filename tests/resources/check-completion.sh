#!/usr/bin/env bash
# Completes brindleaf-cli command lines as bash would and checks what is offered.
#   check-completion.sh COMPLETION_SCRIPT BRINDLEAF_CLI
set -uo pipefail
source "$1"
cli=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/Trip to Kyoto" "$work/Trips"
touch "$work/Trip notes.txt"
cd "$work" || exit 1

failures=0
# expect "WORDS..." "OFFERED, one per line" (COMP_CWORD is the last word)
expect() {
    read -ra COMP_WORDS <<<"$1"
    [[ $1 == *" " ]] && COMP_WORDS+=("")
    COMP_WORDS[0]=$cli
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    _brindleaf_cli "$cli" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    local offered
    offered=$(printf '%s\n' "${COMPREPLY[@]}" | sort)
    if [[ $offered != "$2" ]]; then
        echo "completing '$1': offered [$offered], expected [$2]"
        failures=$((failures + 1))
    fi
}

expect "brindleaf-cli --ke" $'--keep-extension\n--keep-related'
expect "brindleaf-cli --order t" "taken"
expect "brindleaf-cli --no-n" "--no-natsort"
expect "brindleaf-cli --apply Tri" $'Trip to Kyoto\nTrips'
expect "brindleaf-cli --prefix " ""
expect "brindleaf-cli -- --" ""
exit $((failures > 0))
