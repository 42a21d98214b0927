#!/usr/bin/env bash
# Lists which folders the program's code includes from, and fails on an
# include that goes against the layers: every folder may include from
# itself and from the folders below it, never from one above or beside it.
#
#   scripts/check-layers.sh          # the folder graph, then any wrong include
#   scripts/check-layers.sh --quiet  # only the wrong includes
#
# The build catches most of these by itself (each folder is a library that
# sees only the folders it links); this also catches an include that only
# reaches a header through another folder's public headers. Tests and
# benchmarks sit on top of everything and are not checked.
set -euo pipefail
set -f  # the "*" of the table is a word, not a pattern
cd "$(dirname "$0")/.."
quiet=0
[ "${1:-}" = "--quiet" ] && quiet=1

# Each folder and the folders it may include from directly. What those may
# include is allowed too (a folder sees everything below it).
declare -A below=(
    [steplist]=""
    [host/files]=""
    [host/resources]=""
    [host/control]="steplist"
    [host/serial]="host/control"
    [host/panel]="host/control host/resources"
    [host/profiles]="host/control host/files host/serial stepeditor/api"
    [host/roast]="host/control host/files"
    [host/model]="host/roast host/control"
    [host/follow]="host/model host/roast host/control"
    [host/curve]="host/model host/roast host/control"
    [host/app]="*"
    [stepeditor/api]="steplist"
    [stepeditor]="stepeditor/api steplist"
    [sim]="host/serial"
)

# The folders a folder sees: itself and, recursively, those below it.
reach() {
    local todo=("$1") seen=" " f next
    while [ ${#todo[@]} -gt 0 ]; do
        f=${todo[0]}
        todo=("${todo[@]:1}")
        case "$seen" in *" $f "*) continue ;; esac
        seen+="$f "
        for next in ${below[$f]:-}; do todo+=("$next"); done
    done
    echo "$seen"
}

# Which folder holds each header of the program.
declare -A home=()
for folder in "${!below[@]}"; do
    set +f
    headers=("$folder"/*.h)
    set -f
    for header in "${headers[@]}"; do
        [ -e "$header" ] || continue
        name=${header##*/}
        if [ -n "${home[$name]:-}" ]; then
            echo "check-layers: $name is in both ${home[$name]} and $folder; includes of it are ambiguous" >&2
            exit 1
        fi
        home[$name]=$folder
    done
done

declare -A edges=()
wrong=0
for folder in $(printf '%s\n' "${!below[@]}" | sort); do
    [ -d "$folder" ] || continue
    allowed=$(reach "$folder")
    set +f
    files=("$folder"/*.h "$folder"/*.cpp)
    set -f
    for file in "${files[@]}"; do
        [ -e "$file" ] || continue
        while IFS=: read -r line include; do
            include=${include#*\"}
            include=${include%%\"*}
            target=${home[${include##*/}]:-}
            [ -n "$target" ] || continue  # a system, Qt or generated header
            [ "$target" = "$folder" ] && continue
            edges["$folder -> $target"]=1
            if [ "${below[$folder]}" != "*" ] && [[ "$allowed" != *" $target "* ]]; then
                echo "$file:$line: includes \"$include\" from $target, which $folder may not use"
                wrong=1
            fi
        done < <(grep -n -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" || true)
    done
done

if [ "$quiet" = 0 ]; then
    echo "Folders and the folders their code includes from:"
    printf '%s\n' "${!edges[@]}" | sort | sed 's/^/  /'
fi
if [ "$wrong" != 0 ]; then
    echo "check-layers: an include goes up or sideways; see the lines above." >&2
    exit 1
fi
[ "$quiet" = 1 ] || echo "check-layers: every include goes down."
