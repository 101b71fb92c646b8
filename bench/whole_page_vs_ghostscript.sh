#!/usr/bin/env bash
# Whole pages rendered in the computer, side by side with Ghostscript: the
# tiger drawing fitted (--fit) to ISO A0 at 600 dpi in colour (19866 x 28087 pixels)
# and to A4 at 300 dpi, plotted end to end by "plothost plot" with the
# plotter that renders in the computer (rendering, RTL coding and writing
# the plot), with one render thread and with all cores; then Ghostscript
# rendering the same drawing (tiger.pdf, the metafile converted by
# Inkscape) to the same pixel size with banding, to /dev/null.
#
#   bench/whole_page_vs_ghostscript.sh [BUILD_DIR] [RUNS]
#
# BUILD_DIR holds bin/plothost and bin/HPGL2.pxr (default: build-rel, a
# Release build); each case runs RUNS times (default 3) and the best wall
# time is shown with its peak resident memory. Installs Debian's
# ghostscript package when it is missing.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-rel}
runs=${2:-3}
plothost=$build/bin/plothost
if [[ ! -x $plothost ]]; then
    echo "whole_page_vs_ghostscript: no plothost in $build/bin (build plothost and HPGL2 in Release)" >&2
    exit 2
fi
if ! command -v gs >/dev/null; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends ghostscript >/dev/null
fi
if [[ ! -x /usr/bin/time ]]; then
    echo "whole_page_vs_ghostscript: needs GNU time (/usr/bin/time, Debian package time)" >&2
    exit 2
fi
drawing=$root/tests/data/tiger.emf
pdf=$root/tests/data/tiger.pdf  # the same drawing converted to PDF by Inkscape
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# best of RUNS: prints "seconds peak_MiB"
measure() {
    local best="" best_peak=""
    for _ in $(seq "$runs"); do
        /usr/bin/time -f "%e %M" -o "$work/time.txt" "$@" >/dev/null 2>"$work/stderr.txt" || {
            echo "failed: $*" >&2; cat "$work/stderr.txt" >&2; exit 1; }
        read -r seconds kb < <(tail -n 1 "$work/time.txt")
        if [[ -z $best ]] || awk "BEGIN{exit !($seconds < $best)}"; then
            best=$seconds; best_peak=$((kb / 1024))
        fi
    done
    echo "$best $best_peak"
}

plot() {  # paper dpi threads
    PXR_RIP_THREADS=$3 measure "$plothost" --app-dir "$root/config" --data-dir "$work/data" \
        plot "$drawing" --driver "DesignJet 750C Raster" --paper "$1" --dpi "$2" --fit \
        -o "$work/tiger-$1-$2.plt"
}

cores=$(nproc)
printf "%-52s %9s %9s %10s\n" "case" "wall s" "peak MiB" "plot MB"
for page in "A0 600" "A4 300"; do
    set -- $page
    for threads in 1 "$cores"; do
        read -r s m < <(plot "$1" "$2" "$threads")
        size=$(stat -c %s "$work/tiger-$1-$2.plt")
        printf "%-52s %9s %9s %10.1f\n" "plothost, $1 at $2 dpi, $threads render thread(s)" "$s" "$m" \
            "$(awk "BEGIN{print $size/1e6}")"
    done
done
for threads in 1 2; do
    read -r s m < <(measure gs -q -dNOPAUSE -dBATCH -sDEVICE=ppmraw -r600 -g19866x28087 \
        -dPDFFitPage -dMaxBitmap=50000000 -dNumRenderingThreads=$threads -o /dev/null \
        "$pdf")
    printf "%-52s %9s %9s %10s\n" "Ghostscript, A0 at 600 dpi, $threads rendering thread(s)" "$s" "$m" "-"
done
