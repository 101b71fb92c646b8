#!/usr/bin/env bash
# Remakes the reference pictures of tests/data/gdi_reference: the test
# drawings and the sample drawings rendered by a real GDI (Wine's, through
# gdi-reference.exe under wine64), which the raster GDI of the Win32 subset is
# held to. The pictures are kept in the repository, so neither the tests nor
# CI need Wine; run this after changing a drawing or to check against
# another GDI.
#
#   tools/gdi-reference/make_references.sh [--build DIR] [--dpi N] [--out DIR]
#
# Installs what it needs from Debian's packages the first time (mingw-w64's
# 64-bit C++ compiler and zlib, wine64 without its recommendations: 64-bit
# only), builds the program, writes the reference drawings with the test
# tree's write_reference_drawings, renders each in a Wine prefix of its own
# and stops that prefix's wine server when done.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
BUILD=$ROOT/build
DPI=300
OUT=$ROOT/tests/data/gdi_reference

usage() {
  sed -n '2,15p' "${BASH_SOURCE[0]}" | sed 's/^# \{0,1\}//'
}

while [ $# -gt 0 ]; do
  case $1 in
    --build) BUILD=$(realpath -m "$2"); shift 2 ;;
    --dpi) DPI=$2; shift 2 ;;
    --out) OUT=$(realpath -m "$2"); shift 2 ;;
    -h|--help) usage; exit 0 ;;
    *) echo "make_references.sh: unknown argument $1" >&2; usage >&2; exit 2 ;;
  esac
done
case $DPI in ''|*[!0-9]*) echo "make_references.sh: --dpi takes a number" >&2; exit 2 ;; esac

PACKAGES=(g++-mingw-w64-x86-64 libz-mingw-w64-dev wine64)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing Debian packages: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
WINE=$(command -v wine64 || echo /usr/lib/wine/wine64)
WINESERVER=$(dirname "$WINE")/wineserver
[ -x "$WINE" ] || { echo "make_references.sh: wine64 is not installed" >&2; exit 1; }

WORK=$(mktemp -d)
export WINEPREFIX=$WORK/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
  # Only the server of the prefix made here.
  [ -d "$WINEPREFIX" ] && "$WINESERVER" -k >/dev/null 2>&1 || true
  rm -rf "$WORK"
}
trap cleanup EXIT

echo "Building gdi-reference.exe"
EXE=$BUILD/gdi-reference/gdi-reference.exe
mkdir -p "$(dirname "$EXE")"
x86_64-w64-mingw32-g++ -std=c++20 -O2 -Wall -Wextra -Werror -static -o "$EXE" \
  "$ROOT/tools/gdi-reference/gdi_reference.cpp" "$ROOT/tools/gdi-reference/png_file.cpp" \
  -lz -lgdi32

echo "Writing the reference drawings"
if [ ! -f "$BUILD/build.ninja" ] && [ ! -f "$BUILD/Makefile" ]; then
  cmake -S "$ROOT" -B "$BUILD" -G Ninja >/dev/null
fi
cmake --build "$BUILD" --target write_reference_drawings >/dev/null
"$BUILD/bin/write_reference_drawings" "$WORK" >/dev/null
cp "$ROOT/tests/data/cadplan.emf" "$ROOT/tests/data/tiger.emf" "$WORK/"

windows_path() { echo "Z:$1" | tr / '\\'; }

mkdir -p "$OUT"
for emf in "$WORK"/*.emf; do
  name=$(basename "$emf" .emf)
  # Wine's server keeps the standard output it inherits: never a pipe.
  if ! "$WINE" "$EXE" "$(windows_path "$emf")" "$(windows_path "$OUT/$name.png")" \
      --dpi "$DPI" >"$WORK/out.txt" 2>"$WORK/err.txt"; then
    echo "make_references.sh: $name was not rendered:" >&2
    grep -v '^wine: ' "$WORK/err.txt" >&2 || true
    exit 1
  fi
  sed 's/^Z:.*\\//' "$WORK/out.txt"
done

wine_version=$("$WINE" --version 2>/dev/null || echo "wine64")
cat >"$OUT/README.md" <<EOF
# Reference pictures of a real GDI

Made by \`tools/gdi-reference/make_references.sh --dpi $DPI\` with $wine_version
(\`gdi-reference.exe\`, built by mingw-w64, plays each metafile through
\`PlayEnhMetaFileRecord\` into a white 32-bit DIB section covering its frame at $DPI dpi).
\`cadplan.png\` and \`tiger.png\` are the pictures of \`../cadplan.emf\` and \`../tiger.emf\`;
the others are of the drawings of \`tests/support/reference_drawings.cpp\`.
EOF
echo "Pictures written to $OUT"
