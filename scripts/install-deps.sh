#!/usr/bin/env bash
# Installs every Debian package the station needs to build, run and test.
# Idempotent: apt is touched only when a package is missing.
set -euo pipefail

packages=(
  # build tools
  cmake ninja-build g++ pkg-config
  # Qt 6: widgets, multimedia, speech, serial port, translations
  qt6-base-dev qt6-base-dev-tools libgl-dev
  qt6-multimedia-dev libqt6multimedia6
  qt6-speech-dev qt6-declarative-dev qt6-speech-flite-plugin qt6-speech-speechd-plugin
  # the Linux voice: espeak-ng's library and its voices (Mandarin and English)
  libespeak-ng-dev espeak-ng-data
  qt6-serialport-dev
  qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
  # Qt's own Chinese texts, for its file dialogs
  qt6-translations-l10n
  # ciphers, media tags, audio playback
  libmcrypt-dev libtag1-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  # sound server for tests, test media, display, CJK font
  pulseaudio pulseaudio-utils sox libsox-fmt-mp3 lame espeak-ng
  xvfb xauth xdotool fonts-wqy-microhei
  # the operator tests: a session bus, the accessibility bus and its Python client
  dbus-x11 at-spi2-core python3-pyatspi gir1.2-atspi-2.0
  # packaging: dpkg-shlibdeps finds the package's dependencies; the menu
  # entry is checked
  dpkg-dev desktop-file-utils
  # the program's clock set for the operator tests
  faketime
  # locales for the code-page tests
  locales
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -q
  "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Locales with a double-byte and a single-byte system code page for the
# text-file tests (they skip when these are missing).
installed_locales=$(locale -a 2>/dev/null | tr '[:upper:]' '[:lower:]' | tr -d '-')
for entry in zh_CN:GBK:zh_cn.gbk en_US:ISO-8859-1:en_us.iso88591; do
  IFS=: read -r input charset name <<<"$entry"
  if ! grep -qx "$name" <<<"$installed_locales"; then
    echo "Generating locale $input.$charset"
    # localedef reports warnings with a nonzero status though the locale is made.
    "${sudo_cmd[@]}" localedef -i "$input" -f "$charset" "$input.$charset" >/dev/null 2>&1 || true
  fi
done
