#!/usr/bin/env bash
# Checks that the folders under src/ include each other downward only: every
# `#include "folder/..."` from one folder of src/ into another is an edge, and the edges must
# not form a circle. Prints the edges; on a circle, names the folders in it and fails.
# Usage: scripts/check-layers.sh [SOURCE_ROOT]   (the folder that holds src/; default: this tree)
set -euo pipefail
root=${1:-$(dirname "$0")/..}
cd "$root/src"

edges=$(
    for dir in */; do
        from=${dir%/}
        # A folder without such includes is no error.
        { grep -rhoE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[A-Za-z0-9_]+/' "$from" \
            --include='*.h' --include='*.cpp' || true; } |
            sed -E 's/.*"([A-Za-z0-9_]+)\/$/\1/' | sort -u |
            while read -r to; do
                if [ "$to" != "$from" ] && [ -d "$to" ]; then
                    echo "$from $to"
                fi
            done
    done
)

echo "$edges" | sed -E 's/ / -> /'
# tsort names the folders of a circle on its error output and fails.
if ! loops=$(echo "$edges" | tsort 2>&1 >/dev/null); then
    echo "The folders of src/ include each other in a circle:" >&2
    echo "$loops" >&2
    exit 1
fi
