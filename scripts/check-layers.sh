#!/usr/bin/env bash
# Checks that each folder of src/ includes only the layers below it, so the
# libraries form no cycle:
#   0 model, platform   1 files, session   2 link, site   3 sheet, cli, schedule   4 ui   5 app
# A folder may include its own headers and those of a lower layer; app may
# include everything.
set -euo pipefail
cd "$(dirname "$0")/../src"

declare -A layer=([model]=0 [platform]=0 [files]=1 [session]=1 [link]=2 [site]=2
                  [sheet]=3 [cli]=3 [schedule]=3 [ui]=4 [app]=5)

status=0
for dir in */; do
    dir=${dir%/}
    [ -n "${layer[$dir]+x}" ] || { echo "src/$dir: a folder with no layer"; status=1; continue; }
    while IFS=: read -r file _ include; do
        target=$(sed -E 's/.*#include "([a-z]+)\/.*/\1/' <<<"$include")
        [ "$target" = "$dir" ] && continue
        [ -n "${layer[$target]+x}" ] || continue
        if (( layer[$target] >= layer[$dir] )); then
            echo "$file includes $target/, which is not below $dir/:$include"
            status=1
        fi
    done < <(grep -Hn '^#include "[a-z]*/' -r "$dir" || true)
done
((status == 0)) && echo "layers: every folder includes only the layers below it"
exit $status
