#!/usr/bin/env bash
# Checks the bash completions in DIR: each parses, and quillmark-compare's
# offers its options (where bash-completion is there to run it).
#   scripts/check-completion.sh DIR
set -euo pipefail
dir=$1
for cmd in quillmark quillmark-compare; do
    bash -n "$dir/$cmd" || { echo "check-completion: the completion of $cmd does not parse" >&2; exit 1; }
done
if [ -r /usr/share/bash-completion/bash_completion ]; then
    offered=$(bash -c 'source /usr/share/bash-completion/bash_completion
        source "$1/quillmark-compare"
        COMP_WORDS=(quillmark-compare --su); COMP_CWORD=1; COMP_LINE="quillmark-compare --su"
        COMP_POINT=${#COMP_LINE}; _quillmark_compare; echo "${COMPREPLY[*]}"' _ "$dir")
    if [ "$offered" != --summary ]; then
        echo "check-completion: quillmark-compare --su<Tab> offers '$offered'" >&2
        exit 1
    fi
fi
