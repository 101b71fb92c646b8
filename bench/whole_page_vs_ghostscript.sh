#!/usr/bin/env bash
# Whole pages rendered in the computer, side by side with Ghostscript:
# "plothost plot" with the plotter that renders in the computer (rendering,
# RTL coding and writing the plot) against Ghostscript rendering the same
# drawing as PDF to the same pixels with banding, to /dev/null.
#
#   bench/whole_page_vs_ghostscript.sh [BUILD_DIR] [RUNS]
#
# Cases: the tiger fitted to ISO A0 at 600 dpi (19866 x 28087 pixels) with
# one render thread and with two; cadplan fitted to A0 at 600 dpi with two;
# the LibreOffice text drawing fitted to A1 at 600 dpi with two. Each case
# runs RUNS times (default 7), ours and Ghostscript's alternating, and shows
# the median wall time and peak resident memory of each, and the median
# (and range) of the ratio ours / Ghostscript over the pairs of runs.
#
# BUILD_DIR holds bin/plothost and bin/HPGL2.pxr (default: build-rel, a
# Release build). Installs Debian's ghostscript package when it is missing.
# The PDFs are the same drawings: tests/data/tiger.pdf converted from the
# metafile by Inkscape; bench/cadplan.pdf exported from the metafile by
# LibreOffice Draw 7.4, its crop box set by Ghostscript to the drawing
# (gs -sDEVICE=pdfwrite -c "[/CropBox [40.71 242.93 554.54 599.01] /PAGES
# pdfmark"); bench/text_latin_cjk.pdf exported from tests/data/text_latin_cjk.fodg
# by LibreOffice Draw 7.4.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-rel}
runs=${2:-7}
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
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One run: prints "seconds peak_MiB".
run() {
    /usr/bin/time -f "%e %M" -o "$work/time.txt" "$@" >/dev/null 2>"$work/stderr.txt" || {
        echo "failed: $*" >&2
        cat "$work/stderr.txt" >&2
        exit 1
    }
    read -r seconds kb < <(tail -n 1 "$work/time.txt")
    echo "$seconds $((kb / 1024))"
}

median() {  # numbers on standard input
    sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'
}

# case NAME DRAWING PAPER THREADS PDF GS_WIDTH GS_HEIGHT
case_() {
    local name=$1 drawing=$2 paper=$3 threads=$4 pdf=$5 width=$6 height=$7
    local ours=() theirs=() ratios=() our_peaks=() their_peaks=()
    for _ in $(seq "$runs"); do
        read -r s m < <(PXR_RIP_THREADS=$threads run "$plothost" --app-dir "$root/config" \
            --data-dir "$work/data" plot "$root/tests/data/$drawing" \
            --driver "DesignJet 750C Raster" --paper "$paper" --dpi 600 --fit -o "$work/page.plt")
        ours+=("$s")
        our_peaks+=("$m")
        read -r g gm < <(run gs -q -dNOPAUSE -dBATCH -sDEVICE=ppmraw -r600 -g"${width}x${height}" \
            -dPDFFitPage -dUseCropBox -dMaxBitmap=50000000 -dNumRenderingThreads="$threads" \
            -o /dev/null "$root/$pdf")
        theirs+=("$g")
        their_peaks+=("$gm")
        ratios+=("$(awk "BEGIN{printf \"%.3f\", $s / $g}")")
    done
    local size
    size=$(awk "BEGIN{printf \"%.1f\", $(stat -c %s "$work/page.plt") / 1e6}")
    printf "%-44s %7s %7s %8s %8s  %s (%s-%s)  %s\n" "$name, $threads thread(s)" \
        "$(printf '%s\n' "${ours[@]}" | median)" "$(printf '%s\n' "${theirs[@]}" | median)" \
        "$(printf '%s\n' "${our_peaks[@]}" | median)" "$(printf '%s\n' "${their_peaks[@]}" | median)" \
        "$(printf '%s\n' "${ratios[@]}" | median)" "$(printf '%s\n' "${ratios[@]}" | sort -g | head -1)" \
        "$(printf '%s\n' "${ratios[@]}" | sort -g | tail -1)" "$size MB"
}

printf "%-44s %7s %7s %8s %8s  %s  %s\n" "median of $runs runs" "ours s" "gs s" "ours MiB" \
    "gs MiB" "ours/gs (range)" "plot"
case_ "tiger fitted to A0 at 600 dpi" tiger.emf A0 1 tests/data/tiger.pdf 19866 28087
case_ "tiger fitted to A0 at 600 dpi" tiger.emf A0 2 tests/data/tiger.pdf 19866 28087
case_ "cadplan fitted to A0 at 600 dpi" cadplan.emf A0 2 bench/cadplan.pdf 19866 28087
case_ "LibreOffice text fitted to A1 at 600 dpi" text_latin_cjk.emf A1 2 bench/text_latin_cjk.pdf \
    14031 19866
