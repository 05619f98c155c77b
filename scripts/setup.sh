#!/usr/bin/env bash
# Installs the Debian packages the project needs (idempotent, as root) and builds it.
# ULMO_SKIP_APT=1 skips the package step; ULMO_BUILD_DIR picks the build folder.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${ULMO_BUILD_DIR:-$here/build}

packages=(
  build-essential cmake ninja-build pkg-config
  libsqlite3-dev sqlite3
  libpq-dev postgresql
  libcurl4-openssl-dev
  libpugixml-dev
  libzip-dev zip unzip
  nlohmann-json3-dev
  libtomlplusplus-dev
  libcli11-dev
  libfmt-dev
  libgtest-dev libgmock-dev libcpp-httplib-dev
  clang libclang-rt-14-dev llvm   # libFuzzer, the sanitizers' runtime for clang, the symbolizer
  qt6-base-dev xvfb xauth fonts-dejavu-core
  time
)

if [ "${ULMO_SKIP_APT:-0}" != 1 ]; then
  missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
  fi
fi

werror=OFF
[ "${CI:-}" = "true" ] && werror=ON
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${ULMO_BUILD_TYPE:-RelWithDebInfo} -DULMO_WERROR=$werror >/dev/null
cmake --build "$build" -j "$(nproc)"
