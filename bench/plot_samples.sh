#!/usr/bin/env bash
# Times "plothost plot" end to end, process start included, on the sample
# drawings at 300 and 600 dpi, with the peak memory of the process and the
# size of the plot file it wrote.
#
#   bench/plot_samples.sh [BUILD_DIR] [RUNS]
#
# BUILD_DIR holds bin/plothost and bin/HPGL2.pxr (default: build); each case
# runs RUNS times (default 5) and the median wall time is shown. Peak memory
# needs /usr/bin/time (GNU time); without it the column shows "-".
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
runs=${2:-5}
plothost=$build/bin/plothost
if [[ ! -x $plothost ]]; then
    echo "plot_samples: no plothost in $build/bin (build the plothost and HPGL2 targets)" >&2
    exit 2
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

run_once() {  # drawing dpi -> "milliseconds peak_kb"
    local drawing=$1 dpi=$2 start end peak=-
    local args=(--app-dir "$root/config" --data-dir "$work/data" plot "$root/tests/data/$drawing.emf"
                -o "$work/$drawing-$dpi.plt" --dpi "$dpi")
    start=$(date +%s%N)
    if [[ -x /usr/bin/time ]]; then
        /usr/bin/time -f "%M" -o "$work/time.txt" "$plothost" "${args[@]}" 2> "$work/stderr.txt"
        end=$(date +%s%N)
        peak=$(tail -n 1 "$work/time.txt")
    else
        "$plothost" "${args[@]}" 2> "$work/stderr.txt"
        end=$(date +%s%N)
    fi
    echo "$(( (end - start) / 1000000 )) $peak"
}

printf '%-10s %5s %10s %12s %12s %9s\n' drawing dpi "median ms" "peak RSS kB" "plot bytes" records
for drawing in tiger cadplan; do
    for dpi in 300 600; do
        times=()
        peak=0
        for ((i = 0; i < runs; ++i)); do
            read -r ms kb < <(run_once "$drawing" "$dpi")
            times+=("$ms")
            [[ $kb != - && $kb -gt $peak ]] && peak=$kb
        done
        median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p")
        bytes=$(stat -c %s "$work/$drawing-$dpi.plt")
        records=$(sed -n 's/^plothost: \([0-9]*\) records\? played$/\1/p' "$work/stderr.txt")
        printf '%-10s %5s %10s %12s %12s %9s\n' "$drawing" "$dpi" "$median" \
            "$([[ $peak -gt 0 ]] && echo "$peak" || echo -)" "$bytes" "$records"
    done
done
