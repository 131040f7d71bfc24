#!/usr/bin/env bash
# Builds the Debian package and checks it as a caretaker would meet it, on
# this machine (as root; it installs and removes the package for real):
#   apt install ./tolvane_*.deb installs it with its dependencies;
#   `tolvane`, started on a virtual display by a user who is not root, keeps
#   its data, log and settings in that user's data folder;
#   tolvane-data, run by that user without a folder, finds the same data;
#   apt remove takes the program away and leaves the user's data alone.
# Usage: bash tools/package-check.sh      (it builds into build/ first)
# For a machine as fresh as a new one, run it inside a clean Debian 12 root
# (debootstrap or a container) with the project folder in it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
user=tolvane-check

fail() { echo "package-check: $*" >&2; exit 1; }
[ "$(id -u)" = 0 ] || fail "run it as root: it installs the package"

bash "$root/scripts/build.sh" >/dev/null
rm -f "$build"/tolvane_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/tolvane_*.deb)
echo "package: $deb"

apt-get install -y "$deb" >/dev/null
command -v tolvane >/dev/null || fail "no tolvane command after the install"

id "$user" >/dev/null 2>&1 || useradd --create-home "$user"
home=$(getent passwd "$user" | cut -d: -f6)
data="$home/.local/share/Tolvane"
rm -rf "$data"
# What the user left running (the virtual display) goes first.
trap 'pkill -u "$user" 2>/dev/null; sleep 1; userdel --remove "$user" 2>/dev/null || true' EXIT

# It waits for a login; a few seconds are enough to make and save its data.
# Its single-instance lock goes into a folder of the user's own, which goes
# with the user.
tmp=$(runuser -u "$user" -- mktemp -d -p "$home")
set +e
runuser -u "$user" -- env HOME="$home" TMPDIR="$tmp" xvfb-run -a -s "-screen 0 1280x800x24" \
    timeout 10 tolvane >/dev/null 2>&1
set -e
[ -f "$data/app.conf" ] || fail "no settings in $data"
[ -f "$data/data/usrdata.sx" ] || fail "no data files in $data/data"
[ -d "$data/log" ] || fail "no log folder in $data"
[ ! -e /opt/tolvane/data ] || fail "the program folder got a data folder"
runuser -u "$user" -- env HOME="$home" /opt/tolvane/tolvane-data check |
    grep -q "usrdata.sx: loaded" || fail "tolvane-data does not find the user's data"
echo "installed: runs for $user, data in $data"

apt-get remove -y tolvane >/dev/null
[ ! -e /opt/tolvane/Tolvane ] || fail "the program is still there after apt remove"
[ -f "$data/data/usrdata.sx" ] || fail "apt remove took the user's data"
echo "removed: the user's data stays"
echo "package-check: passed"
