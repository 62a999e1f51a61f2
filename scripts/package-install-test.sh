#!/usr/bin/env bash
# Builds the Debian package and installs it into a clean Debian 12 root made with
# debootstrap, as on a fresh machine (apt-get install ./kv820-callcenter_*.deb), then runs
# the installed program: --version, --create-database, and the menu entry's command for a
# few seconds (it must create the database in the user's folder and keep the window open).
# Needs root and the Debian mirror, and takes minutes: not part of the test suite.
# KV820_DEBIAN_MIRROR chooses the mirror; KV820_KEEP_ROOT=1 keeps the root to look around.
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
mirror=${KV820_DEBIAN_MIRROR:-http://deb.debian.org/debian}
build="$source_dir/build-package"

[ "$(id -u)" -eq 0 ] || { echo "Run as root: debootstrap and chroot need it." >&2; exit 1; }
for tool in debootstrap dpkg-shlibdeps; do
  if ! command -v "$tool" >/dev/null; then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap dpkg-dev
    break
  fi
done

step() { printf '\n== %s (%d s)\n' "$1" "$SECONDS"; }

step "Building the package"
"$source_dir/scripts/install-deps.sh"
cmake -S "$source_dir" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKV820_BUILD_TESTS=OFF -DKV820_BUILD_BENCH=OFF >/dev/null
rm -f "$build"/kv820-callcenter_*.deb
cmake --build "$build" -j "$(nproc)" --target package
deb=$(ls "$build"/kv820-callcenter_*.deb)
dpkg-deb --field "$deb" Package Version Architecture Depends Recommends
dpkg-deb --contents "$deb" | awk '$NF !~ /\/$/ { print "  " $NF }'

root=$(mktemp -d /var/tmp/kv820-debian12.XXXXXX)
cleanup() {
  umount "$root/dev/pts" "$root/proc" 2>/dev/null || true
  if [ "${KV820_KEEP_ROOT:-}" = 1 ]; then echo "Root kept in $root"; else rm -rf "$root"; fi
}
trap cleanup EXIT

step "Making a clean Debian 12 root in $root"
debootstrap --variant=minbase bookworm "$root" "$mirror" >"$root.debootstrap.log" 2>&1 ||
  { tail -n 20 "$root.debootstrap.log" >&2; exit 1; }
rm -f "$root.debootstrap.log"
chmod 755 "$root"  # apt's download user must reach its lists
mount -t proc proc "$root/proc"
mount --bind /dev/pts "$root/dev/pts"
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root "$@"; }

step "Installing $(basename "$deb") with apt-get"
cp "$deb" "$root/tmp/"
in_root apt-get update -qq
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "/tmp/$(basename "$deb")" |
  grep -E '^(Setting up kv820|[0-9]+ upgraded)'

step "Running the installed program"
in_root env QT_QPA_PLATFORM=offscreen kv820-callcenter --version
in_root env QT_QPA_PLATFORM=offscreen sh -c \
  'mkdir -p /tmp/receiver && cd /tmp/receiver && kv820-callcenter --create-database && test -s KV820Y.mdb'
in_root kv820-sim --help | head -n 3

step "Starting it as the menu entry does"
exec_line=$(sed -n 's/^Exec=//p' "$root/usr/share/applications/kv820-callcenter.desktop")
status=0
in_root env QT_QPA_PLATFORM=offscreen HOME=/home/operator timeout 5 $exec_line || status=$?
if [ "$status" -ne 124 ]; then
  echo "The program ended with $status instead of running." >&2
  exit 1
fi
test -s "$root/home/operator/.local/share/kv820-callcenter/KV820Y.mdb"
echo "Window still open after 5 s; database created in ~/.local/share/kv820-callcenter."
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$root/usr/share/applications/kv820-callcenter.desktop"
  echo "desktop-file-validate: no complaints."
fi

step "Package installed and working on a clean Debian 12"
