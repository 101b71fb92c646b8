#!/usr/bin/env bash
# Times "plotview" end to end, process start and PNG writing included, on
# the plots of the sample drawings (A4, the first bundled plotter), with the
# CPU time beside the wall time: on a shared machine the wall time tells
# more about the neighbours than about the previewer.
#
#   bench/preview_samples.sh [BUILD_DIR] [RUNS]
#
# BUILD_DIR holds bin/plothost, bin/HPGL2.pxr and bin/plotview (default:
# build); each case runs RUNS times (default 5) and the medians are shown.
# Needs /usr/bin/time (GNU time).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
runs=${2:-5}
for tool in plothost plotview; do
    if [[ ! -x $build/bin/$tool ]]; then
        echo "preview_samples: no $tool in $build/bin" >&2
        exit 2
    fi
done
if [[ ! -x /usr/bin/time ]]; then
    echo "preview_samples: needs /usr/bin/time (GNU time)" >&2
    exit 2
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

median() { sort -n | sed -n "$(( (runs + 1) / 2 ))p"; }

printf '%-10s %5s %12s %12s %12s %12s\n' drawing dpi "wall ms" "cpu ms" "peak RSS kB" "png bytes"
for drawing in tiger cadplan; do
    "$build/bin/plothost" --app-dir "$root/config" --data-dir "$work/data" plot \
        "$root/tests/data/$drawing.emf" -o "$work/$drawing.plt" 2> /dev/null
    for dpi in 150 300; do
        walls=() cpus=() peak=0
        for ((i = 0; i < runs; ++i)); do
            /usr/bin/time -f "%e %U %S %M" -o "$work/time.txt" "$build/bin/plotview" \
                "$work/$drawing.plt" -o "$work/$drawing.png" --dpi "$dpi" > /dev/null
            read -r wall user system kb < "$work/time.txt"
            walls+=("$(awk -v s="$wall" 'BEGIN { printf "%d", s * 1000 }')")
            cpus+=("$(awk -v u="$user" -v s="$system" 'BEGIN { printf "%d", (u + s) * 1000 }')")
            [[ $kb -gt $peak ]] && peak=$kb
        done
        printf '%-10s %5s %12s %12s %12s %12s\n' "$drawing" "$dpi" \
            "$(printf '%s\n' "${walls[@]}" | median)" "$(printf '%s\n' "${cpus[@]}" | median)" \
            "$peak" "$(stat -c %s "$work/$drawing.png")"
    done
done
