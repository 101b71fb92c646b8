#!/usr/bin/env bash
# The Windows build: HPGL2.pxr, PXRDriver.dll and plothost.exe cross-compiled
# with Debian's mingw-w64, into build-win32/ (i686, the hosts' architecture)
# and build-win64/ (x86_64, which wine64 runs for the tests).
#
#   bash scripts/windows-build.sh            both builds
#   bash scripts/windows-build.sh win64      one of them (win32 or win64)
#
# Installs the compilers (and wine64, which the tests run the products in)
# from Debian's packages when they are missing, and fetches the source of
# Clipper from Debian's source package: Debian has no Windows build of it.
set -euo pipefail

HPGL2_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_TYPE=${BUILD_TYPE:-Release}
WINDOWS_PACKAGES=(g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686
                  binutils-mingw-w64-x86-64 wine64 dpkg-dev)

install_packages() {
  local missing=()
  for p in "${WINDOWS_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing Debian packages: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  # wine64 without its recommendations: no 32-bit architecture is added.
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Clipper 6.4.2 as Debian builds it for Linux (libpolyclipping-dev), from
# Debian's source package, fetched once into build-windows-deps/. apt-get
# runs with lists of its own there, so the system's sources stay as they are.
fetch_clipper() {
  local deps="$HPGL2_ROOT/build-windows-deps"
  CLIPPER_DIR="$deps/polyclipping/cpp"
  [ -f "$CLIPPER_DIR/clipper.cpp" ] && return 0
  local apt="$deps/apt"
  mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial"
  local suite
  suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
  echo "deb-src http://deb.debian.org/debian $suite main" >"$apt/sources.list"
  local options=(-o "Dir::Etc::SourceList=$apt/sources.list" -o "Dir::Etc::SourceParts=/dev/null"
                 -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt/cache"
                 -o "APT::Sandbox::User=root")
  echo "Fetching Clipper's source (Debian source package libpolyclipping)"
  apt-get "${options[@]}" -qq update
  (cd "$deps" && apt-get "${options[@]}" -qq source --download-only libpolyclipping)
  rm -rf "$deps/polyclipping"
  (cd "$deps" && dpkg-source --no-check -x libpolyclipping_*.dsc polyclipping >/dev/null)
  [ -f "$CLIPPER_DIR/clipper.cpp" ] || { echo "no clipper.cpp in the source package" >&2; exit 1; }
}

build() {
  local name=$1 arch=$2
  local dir="$HPGL2_ROOT/build-$name"
  echo "== $name ($arch) in build-$name/"
  cmake -S "$HPGL2_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$BUILD_TYPE" -DHPGL2_WERROR=ON \
    -DCMAKE_TOOLCHAIN_FILE="$HPGL2_ROOT/cmake/mingw-w64-$arch.cmake" \
    -DHPGL2_CLIPPER_SOURCE_DIR="$CLIPPER_DIR" >/dev/null
  cmake --build "$dir" -j "$(nproc)"
  bash "$HPGL2_ROOT/scripts/check-windows-imports.sh" "$dir"
}

install_packages
fetch_clipper
case "${1:-all}" in
  win32) build win32 i686 ;;
  win64) build win64 x86_64 ;;
  all) build win32 i686; build win64 x86_64 ;;
  *) echo "usage: $0 [win32|win64]" >&2; exit 2 ;;
esac
