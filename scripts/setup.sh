#!/usr/bin/env bash
# Installs the Debian packages the project builds with, once. Sourced by the
# other scripts; safe to run again.
set -euo pipefail

HPGL2_PACKAGES=(cmake ninja-build g++ g++-multilib pkg-config clang libclang-rt-14-dev
                libgtest-dev libgmock-dev libbenchmark-dev
                libpolyclipping-dev libcairo2-dev libpng-dev
                libfontconfig-dev libfreetype-dev
                fonts-liberation2 fonts-noto-core fonts-noto-cjk
                binutils-mingw-w64-i686 libgtk-4-dev xvfb xauth gcovr
                cups cups-filters cups-client cups-bsd cups-ppdc libcups2-dev)

hpgl2_missing_packages() {
  local missing=()
  for p in "${HPGL2_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  echo "${missing[@]:-}"
}

hpgl2_install_packages() {
  local missing
  missing=$(hpgl2_missing_packages)
  [ -z "$missing" ] && return 0
  echo "Installing Debian packages: $missing"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
}

# hpgl2_build DIR [cmake options...]: configures and builds into DIR.
hpgl2_build() {
  local dir=$1
  shift
  cmake -S "$HPGL2_ROOT" -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$(nproc)"
}

HPGL2_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
hpgl2_install_packages
