#!/usr/bin/env bash
# The layers as a fact for headers too. Every library owns folders (the longest folder that
# holds a file names its library); the build writes each library's folders and the libraries
# it links into layers.txt. This check fails when
#  - a file includes a header of a library that its own library does not link, directly or
#    through the libraries it links (an include upwards, or sideways between layers), or
#  - the build compiles a file into a library other than the one its folder names.
#   bash scripts/check-includes.sh BUILD_DIRECTORY [SOURCE_ROOT]   (default: this tree)
set -euo pipefail
build=$(realpath "$1")
root=$(realpath "${2:-$(dirname "$0")/..}")
layers="$build/layers.txt"
[ -f "$layers" ] || { echo "check-includes: no $layers (configure the build first)" >&2; exit 1; }

declare -A folder_library links
libraries=()
# Each line: LIBRARY|FOLDER FOLDER...|LINKED LINKED... (the links as the build names them).
while IFS='|' read -r library folders linked; do
    libraries+=("$library")
    for folder in $folders; do folder_library[$folder]=$library; done
    links[$library]=$(tr ';' ' ' <<<"$linked")
done <"$layers"

# The library whose folder holds path (relative to the root), or nothing.
owner() {
    local dir=$1
    while [[ "$dir" == */* ]]; do
        dir=${dir%/*}
        [ -n "${folder_library[$dir]:-}" ] && { echo "${folder_library[$dir]}"; return; }
    done
}

# Every library a library reaches through its links, itself included.
declare -A closure
for library in "${libraries[@]}"; do
    reached=" $library "
    pending=("$library")
    while [ ${#pending[@]} -gt 0 ]; do
        current=${pending[0]}
        pending=("${pending[@]:1}")
        for next in ${links[$current]:-}; do
            next=${next#\$<LINK_ONLY:}
            next=${next%>}
            [ -n "${links[$next]+set}" ] || continue
            [[ "$reached" == *" $next "* ]] && continue
            reached+="$next "
            pending+=("$next")
        done
    done
    closure[$library]=$reached
done

status=0
for folder in "${!folder_library[@]}"; do
    [ -d "$root/$folder" ] || continue
    while IFS= read -r file; do
        relative=${file#"$root"/}
        library=$(owner "$relative")
        # A folder of another library inside this one is checked as that library's.
        [ "$library" = "${folder_library[$folder]}" ] || continue
        while IFS= read -r included; do
            [ -f "$root/$included" ] || continue
            target=$(owner "$included")
            [ -n "$target" ] || continue
            if [[ "${closure[$library]}" != *" $target "* ]]; then
                echo "check-includes: $relative ($library) includes $included of $target, which $library does not link" >&2
                status=1
            fi
        done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
    done < <(find "$root/$folder" -type f \( -name '*.cpp' -o -name '*.h' \))
done

# Where the build compiles each library's sources: CMakeFiles/<library>.dir/<path>.o.
if [ -f "$build/compile_commands.json" ]; then
    while read -r library source; do
        [ -n "${links[$library]+set}" ] || continue
        found=$(owner "$source")
        if [ "$found" != "$library" ]; then
            echo "check-includes: $source is built into $library but its folder belongs to ${found:-no library}" >&2
            status=1
        fi
    done < <(grep -o '"output": *"CMakeFiles/zorbix_[a-z]*\.dir/[^"]*\.o"' "$build/compile_commands.json" |
        sed 's/.*CMakeFiles\/\(zorbix_[a-z]*\)\.dir\/\(.*\)\.o"$/\1 \2/')
fi
[ "$status" -ne 0 ] || echo "check-includes: every include stays within its library's links"
exit "$status"
