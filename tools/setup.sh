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
  xvfb xauth openbox
  locales
)

# The locale whose decimal symbol is a comma, under which the tests run once more
# (tests/CMakeLists.txt, tools/run_in_locale.sh).
QV_TEST_LOCALE=de_DE.UTF-8

qv_install_packages() {
  local missing=()
  local p
  for p in "${QV_PACKAGES[@]}" "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing missing packages: ${missing[*]}"
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
  qv_generate_locale "$QV_TEST_LOCALE"
}

# True when the C library can set the locale (`locale` complains on its error output when
# it cannot).
qv_has_locale() {
  [ -z "$(LC_ALL=$1 locale 2>&1 >/dev/null)" ]
}

# qv_generate_locale <name.charmap>: generates the locale when the machine lacks it. Debian's
# way first: its line in /etc/locale.gen is enabled (or added), so that a later locale-gen
# keeps it, and locale-gen makes it without touching the locales already there; localedef
# alone where there is no locale.gen.
qv_generate_locale() {
  local name=$1
  qv_has_locale "$name" && return 0
  echo "Generating the $name locale"
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  local charmap=${name#*.}
  local line="$name $charmap"
  local pattern="${name//./\\.}[[:space:]]+$charmap"
  if [ -s /etc/locale.gen ] && command -v locale-gen >/dev/null 2>&1; then
    if grep -qE "^#[[:space:]]*$pattern[[:space:]]*\$" /etc/locale.gen; then
      "${sudo[@]}" sed -i -E "s/^#[[:space:]]*($pattern)[[:space:]]*\$/\\1/" /etc/locale.gen
    elif ! grep -qE "^$pattern[[:space:]]*\$" /etc/locale.gen; then
      echo "$line" | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
    fi
    "${sudo[@]}" locale-gen --keep-existing >/dev/null
  fi
  qv_has_locale "$name" || "${sudo[@]}" localedef -c -i "${name%%.*}" -f "$charmap" "$name"
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
