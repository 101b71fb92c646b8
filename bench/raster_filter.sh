#!/usr/bin/env bash
# rastertohpgl2 on a whole A0 page at 600 dpi (the printable area of the
# bundled "DesignJet 750C", 19629 x 27850 pixels): tiger.pdf rendered once by
# Ghostscript's cups device into CUPS raster (colour, grey and black and
# white), then the filter run alone on each file with its output thrown
# away. Prints the input size, the filter's CPU time and wall time, the input
# rate per CPU second and the peak memory.
#
#   bash bench/raster_filter.sh [BUILD]     (BUILD: a Release build, default build-rel)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build-rel}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

render() {  # NAME COLOUR-SPACE BITS
    gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=cups -dcupsColorSpace="$2" -dcupsBitsPerColor="$3" \
       -r600 -g19629x27850 -dFitPage -sOutputFile="$work/$1.ras" "$root/tests/data/tiger.pdf"
}
render colour 1 8
render grey 18 8
render bilevel 3 1

printf '%-8s %10s %9s %9s %11s %10s\n' page input cpu wall "MB/s cpu" "peak MB"
for page in colour grey bilevel; do
    bytes=$(stat -c %s "$work/$page.ras")
    PPD="$build/ppd/DesignJet_750C.ppd" TMPDIR="$work" /usr/bin/time -f '%U %S %e %M' \
        -o "$work/time" "$build/bin/rastertohpgl2" 1 bench tiger 1 "PageSize=A0 Resolution=600dpi" \
        "$work/$page.ras" >/dev/null 2>"$work/log" || { cat "$work/log"; exit 1; }
    awk -v page="$page" -v bytes="$bytes" '{ cpu = $1 + $2;
        printf "%-8s %8.0fMB %8.2fs %8.2fs %11.0f %10.1f\n", page, bytes / 1e6, cpu, $3,
               bytes / 1e6 / cpu, $4 / 1024 }' "$work/time"
done
