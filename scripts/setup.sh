#!/usr/bin/env bash
# Makes a Debian 12 machine ready and builds the project into build/.
# Installs only the packages that are missing (apt-get update only when something must be
# installed), then configures and builds. Safe to run again.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${QV_BUILD_DIR:-$here/build}"

packages=(
  cmake ninja-build g++ pkg-config binutils
  libgtest-dev libbenchmark-dev
  libsqlite3-dev libicu-dev
  libcairo2-dev libpango1.0-dev fonts-arphic-uming fonts-liberation2
  libcups2-dev
  cups-daemon cups-client cups-core-drivers
  nlohmann-json3-dev
  binutils-mingw-w64-x86-64
  ghostscript
  poppler-utils shared-mime-info
  clang-14 libclang-rt-14-dev
  libcpp-httplib-dev
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if ((${#missing[@]} > 0)); then
  echo "setup: installing ${missing[*]}"
  sudo=""
  if [[ $(id -u) -ne 0 ]]; then
    sudo="sudo"
  fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

cmake -S "$here" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build_dir"
