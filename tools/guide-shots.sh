#!/usr/bin/env bash
# Draws the pictures of the user guide (docs/images/) from the real windows,
# offscreen, in Chinese (*_zh.png) and English (*_en.png). Run it after a
# change to a window the guide shows, then look at the pictures and commit
# them:
#     bash tools/guide-shots.sh        (it builds into build/ first)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
out=$root/docs/images
bash "$root/scripts/build.sh" >/dev/null
mkdir -p "$out"
export QT_QPA_PLATFORM=offscreen
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

"$build/tests/shell-shots" "$tmp" --qm "$build/src/app/tolvane_en.qm" >/dev/null
"$build/tests/music-shots" "$tmp" >/dev/null
TOLVANE_SHOTS=$tmp "$build/tests/test_speechtasks" pictures >/dev/null
TOLVANE_SHOTS=$tmp "$build/tests/test_musictaskedit" screenshots >/dev/null
TOLVANE_SHOTS=$tmp "$build/tests/test_app_mainwindow" pictures >/dev/null

# The windows the guide shows, by the name the pictures have.
for name in splash login mainwindow usermanage unlock settings traymenu panels_unconnected panels_connected about_connected \
    musicstock musicstock_addmenu musicfoldermanage musicsel musictasks musictaskedit \
    musicedit bkmusicedit speechtasks speechtaskedit; do
    for lang in zh en; do
        cp "$tmp/${name}_$lang.png" "$out/"
    done
done
ls "$out"/*.png | wc -l | xargs echo "pictures in $out:"
