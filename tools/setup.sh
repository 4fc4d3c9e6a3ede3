#!/usr/bin/env bash
# Installs the Debian packages the build and the program need (only the missing ones) and
# configures a build folder. libqt6svg6 holds Qt's SVG image plugin, without which the
# program's icon (an SVG file) draws as nothing. Sourced by ./run and ./test; not meant to be called on its own.
set -euo pipefail

QV_PACKAGES=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libqt6svg6
  libgtest-dev libgmock-dev libbenchmark-dev zlib1g-dev
  fonts-dejavu-core clang-format
  poppler-utils
  xvfb xauth
)

qv_install_packages() {
  local missing=()
  local p
  for p in "${QV_PACKAGES[@]}" "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing missing packages: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# qv_configure <build-dir> <cmake args...>: configures a new build folder, or applies the
# arguments to an existing one.
qv_configure() {
  local dir=$1; shift
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S . -B "$dir" -G Ninja "$@"
  else
    cmake -S . -B "$dir" "$@" >/dev/null
  fi
}
