#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the start script need, when any
# is missing, and the comma-decimal locale the number tests run under. Runs apt-get update
# once, only when something has to be installed.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-serialport-dev qt6-svg-dev qt6-webengine-dev qt6-webchannel-dev libjs-leaflet libgl-dev
  libsqlite3-dev libgtest-dev libgmock-dev libbenchmark-dev
  libxml2-utils xvfb xauth
  locales g++-mingw-w64-x86-64
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

# A locale that writes decimals with a comma: numbers in device text and files must not
# follow it, and the tests check that under it.
test_locale=de_DE.UTF-8
locale_missing() {
  ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'
}

if [ ${#missing[@]} -eq 0 ] && ! locale_missing; then
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Run as root or install sudo." >&2; exit 1; }
  sudo_cmd=(sudo)
fi
if [ ${#missing[@]} -ne 0 ]; then
  echo "Installing: ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
fi
if locale_missing; then
  echo "Generating the locale $test_locale"
  # Debian lists the locale commented out; a minimal system may not list it at all.
  "${sudo_cmd[@]}" sed -i "s/^# *\($test_locale UTF-8\)$/\1/" /etc/locale.gen
  if ! grep -qx "$test_locale UTF-8" /etc/locale.gen; then
    echo "$test_locale UTF-8" | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
  fi
  "${sudo_cmd[@]}" locale-gen >/dev/null
fi
