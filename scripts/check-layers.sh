#!/usr/bin/env bash
# Checks that the program's folders depend one way: each file includes only
# from its own layer and those below it. Layers, lowest first:
#   engine/  system/  jobs/  ui/  app/
# res/ (resource identifiers and generated resource headers) may be included
# from anywhere. Jobs report to the window only through jobs/JobStatus.h,
# which ui/ implements; so no include ever points upward.
# Usage: check-layers.sh [ROOT]
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
layers=(engine system jobs ui app)

rank() {
    local i
    for i in "${!layers[@]}"; do
        [ "${layers[$i]}" = "$1" ] && { echo "$i"; return; }
    done
    echo -1
}

status=0
for layer in "${layers[@]}"; do
    own=$(rank "$layer")
    while IFS= read -r hit; do
        file=${hit%%:*}
        rest=${hit#*:}
        line=${rest%%:*}
        target=$(sed -E 's/^[^"]*"([^/"]+)\/.*/\1/' <<<"${rest#*:}")
        [ "$target" = res ] && continue
        other=$(rank "$target")
        if [ "$other" -lt 0 ]; then
            echo "$file:$line: includes from $target/, which is no layer" >&2
            status=1
        elif [ "$other" -gt "$own" ]; then
            echo "$file:$line: $layer/ includes from the higher layer $target/" >&2
            status=1
        fi
    done < <(cd "$root" && grep -Hn '^#include "[^"]*/' "$layer"/*.cpp "$layer"/*.h 2>/dev/null || true)
done
[ $status -eq 0 ] && echo "Layers: every include points to its own layer or below."
exit $status
