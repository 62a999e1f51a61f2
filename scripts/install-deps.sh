#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the start script need, when any
# is missing, and the comma-decimal locale the number tests run under. With "windows": also
# what the core's Windows test build needs (scripts/windows-core-tests.sh), and the source
# index through which it takes SQLite's source. Runs apt-get update only when something
# has to be installed.
set -euo pipefail
windows=false
[ "${1:-}" = windows ] && windows=true

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-serialport-dev qt6-svg-dev qt6-webengine-dev qt6-webchannel-dev libjs-leaflet libjs-chart.js libgl-dev
  libsqlite3-dev libpq-dev postgresql libgtest-dev libgmock-dev libbenchmark-dev
  libxml2-utils xvfb xauth
  locales ccache clang-tidy
)
if $windows; then
  # The core's tests cross-built for Windows and run under Wine; SQLite's amalgamation is
  # made with tclsh.
  packages+=(g++-mingw-w64-x86-64-posix wine wine64 dpkg-dev tcl)
fi

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

# Debian's own SQLite source, the one source the Windows build compiles SQLite from: a
# source index beside each configured package index, used for nothing else.
sqlite_source_list=/etc/apt/sources.list.d/kv820-sqlite-source
sqlite_source_missing() {
  $windows && ! apt-cache showsrc sqlite3 2>/dev/null | grep -q '^Package: sqlite3$'
}
add_sqlite_source_index() {
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
      "${sudo_cmd[@]}" tee "$sqlite_source_list.sources" >/dev/null
  else
    grep -h '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' |
      "${sudo_cmd[@]}" tee "$sqlite_source_list.list" >/dev/null
  fi
}

if [ ${#missing[@]} -eq 0 ] && ! locale_missing && ! sqlite_source_missing; then
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Run as root or install sudo." >&2; exit 1; }
  sudo_cmd=(sudo)
fi
needs_update=false
if sqlite_source_missing; then
  echo "Adding the source index for SQLite's source package"
  add_sqlite_source_index
  needs_update=true
fi
if [ ${#missing[@]} -ne 0 ] || $needs_update; then
  "${sudo_cmd[@]}" apt-get update -qq
fi
if [ ${#missing[@]} -ne 0 ]; then
  echo "Installing: ${missing[*]}"
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
