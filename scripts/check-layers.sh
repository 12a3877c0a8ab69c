#!/usr/bin/env bash
# Each folder of src/ is one layer and includes only the layers it may use, each include
# naming its folder ("model/gridstate.h"). Prints every include that breaks the rule; exits 1
# when there is one. Run from anywhere: bash scripts/check-layers.sh
set -u
cd "$(dirname "$0")/../src"
declare -A may=(
    [calc]=""
    [model]="calc"
    [files]="calc model"
    [edit]="calc model"
    [ui]="calc model"
    [sheet]="calc model files ui"
    [print]="calc model ui"
    [chart]="calc model ui"
    [settings]="calc model ui"
    [app]="calc model files edit ui sheet print chart settings"
)
status=0
for folder in */; do
    folder=${folder%/}
    [ -n "${may[$folder]+set}" ] || { echo "$folder: a folder with no layer of its own"; status=1; continue; }
    while IFS= read -r line; do
        file=${line%%:*}
        target=$(sed -E 's/.*#include "([^"]*)".*/\1/' <<<"${line#*:}")
        used=${target%%/*}
        if [ "$used" = "$target" ]; then
            echo "$file: #include \"$target\" does not name its folder"
            status=1
        elif [ "$used" != "$folder" ] && [[ " ${may[$folder]} " != *" $used "* ]]; then
            echo "$file: $folder may not include $target"
            status=1
        fi
    done < <(grep -rn --include='*.h' --include='*.cpp' '^#include "' "$folder" | sed -E 's/^([^:]*):[0-9]+:/\1:/')
done
[ $status -eq 0 ] && echo "layers: every include keeps to its layer"
exit $status
