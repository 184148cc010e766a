# bash completion for camini-calc.
# The options and the keys of the input rows come from the program's own
# --help, so that they are always the ones the installed program accepts.

_camini_calc_help() {
    local program="${COMP_WORDS[0]}"
    command -v -- "$program" >/dev/null 2>&1 || program=camini-calc
    "$program" --help 2>/dev/null
}

# The row keys of --help's table (number, key, label), the thickness rows
# (5..9) alone with "thickness".
_camini_calc_rows() {
    _camini_calc_help | awk -v only="$1" '
        /^RIGA:/ { table = 1; next }
        table && /^ *[0-9]+  +[a-z]/ {
            if (only != "thickness" || ($1 >= 5 && $1 <= 9)) print $2
        }
        table && /^$/ { exit }'
}

# The project: .CAM files (either case) and the folders that may hold them.
_camini_calc_projects() {
    compopt -o filenames 2>/dev/null
    mapfile -t COMPREPLY < <(
        compgen -d -- "$1"
        compgen -f -X '!*.[Cc][Aa][Mm]' -- "$1"
    )
}

# The replies for the word `cur` (as bash cut it), whose whole is `word`,
# after the words `prev` and `before`.
_camini_calc_reply() {
    local cur="$1" word="$2" prev="$3" before="$4"
    case "$prev" in
    --data-dir)
        compopt -o filenames 2>/dev/null
        mapfile -t COMPREPLY < <(compgen -d -- "$cur")
        return
        ;;
    --rtf | --svg | --pdf | --json)
        compopt -o filenames 2>/dev/null
        mapfile -t COMPREPLY < <(compgen -f -- "$cur")
        return
        ;;
    --sweep)
        # ROW=FROM:TO:STEP: the key and its "=", the numbers are the user's.
        [[ "$word" == *=* ]] && return
        compopt -o nospace 2>/dev/null
        mapfile -t COMPREPLY < <(compgen -W "$(_camini_calc_rows)" -S = -- "$cur")
        return
        ;;
    --min-thickness)
        mapfile -t COMPREPLY < <(compgen -W "$(_camini_calc_rows thickness)" -- "$cur")
        return
        ;;
    --lambda-svg)
        mapfile -t COMPREPLY < <(compgen -W "$(seq 1 100)" -- "$cur")
        return
        ;;
    --flue)
        return
        ;;
    esac
    if [[ "$before" == --lambda-svg || "$prev" == --lambda-svg=* ]]; then
        compopt -o filenames 2>/dev/null
        mapfile -t COMPREPLY < <(compgen -f -- "$cur")
        return
    fi

    if [[ "$cur" == -* ]]; then
        local options
        # The option column of --help: "  --min-thickness RIGA --flue T  ...".
        options="$(_camini_calc_help | awk -F '  +' '/^  --/ { print $2 }' |
            grep -oE -- '--[a-z][a-z0-9-]*')"
        mapfile -t COMPREPLY < <(compgen -W "$options --" -- "$cur")
        return
    fi
    _camini_calc_projects "$cur"
}

_camini_calc() {
    # The word completed, as bash cut it (at "=" and ":" too), and the words
    # of the line before the cursor cut at blanks only, for the context.
    local cur="${COMP_WORDS[COMP_CWORD]}"
    local line="${COMP_LINE:0:COMP_POINT}"
    local -a words
    read -ra words <<<"$line"
    [[ -z "$line" || "$line" == *[[:space:]] ]] && words+=("")
    local n=${#words[@]}
    local word="${words[n - 1]}" prev="" before=""
    ((n > 1)) && prev="${words[n - 2]}"
    ((n > 2)) && before="${words[n - 3]}"
    COMPREPLY=()

    # After "--" every word is a project.
    local i
    for ((i = 1; i < n - 1; i++)); do
        if [[ "${words[i]}" == -- ]]; then
            _camini_calc_projects "$cur"
            return
        fi
    done
    # "--option=VALUE": the value as after "--option VALUE". Where bash did
    # not cut the word at "=" (COMP_WORDBREAKS without it), the replies keep
    # the option and its "=" before them.
    local prefix=""
    if [[ "$word" == --*=* ]]; then
        before="$prev"
        prev="${word%%=*}"
        word="${word#*=}"
        if [[ "$cur" == --*=* ]]; then
            prefix="${cur%%=*}="
            cur="${cur#*=}"
        fi
    fi
    _camini_calc_reply "$cur" "$word" "$prev" "$before"
    if [[ -n "$prefix" ]]; then
        COMPREPLY=("${COMPREPLY[@]/#/$prefix}")
    fi
}

complete -F _camini_calc camini-calc
