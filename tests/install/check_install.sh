#!/usr/bin/env bash
# Usage: check_install.sh BUILD_FOLDER. Installs the build into a temporary
# folder and checks what a package would hold.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
program="$prefix/opt/tolvane"
for file in Tolvane libKryptane.so libResENG.so tolvane-data string_chs.conf string_eng.conf \
    app.conf imgs/splash.bmp imgs/loginbk.bmp; do
    [ -f "$program/$file" ] || fail "$file is not in the program folder"
done
[ "$(readlink -f "$prefix/usr/bin/tolvane")" = "$(readlink -f "$program/Tolvane")" ] ||
    fail "the tolvane command does not lead to the program"
for size in 16 32 48 256; do
    [ -f "$prefix/usr/share/icons/hicolor/${size}x$size/apps/tolvane.png" ] ||
        fail "no $size-pixel icon"
done
entry="$prefix/usr/share/applications/tolvane.desktop"
grep -q '^Exec=tolvane$' "$entry" || fail "the menu entry does not start tolvane"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$entry" || fail "the menu entry is not valid"
fi

# The installed tool finds its cipher library beside it, wherever it is.
mkdir -p "$prefix/station/data"
"$program/tolvane-data" check "$prefix/station" | grep -q '^usrdata.sx: missing$' ||
    fail "the installed tolvane-data does not run"
echo "PASS"
