#!/usr/bin/env bash
# Builds the station and runs every test. Starts a PulseAudio server with a
# null sink when no sound server answers, and stops what it started.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/build.sh"

started_pulse=0
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  export XDG_RUNTIME_DIR=$(mktemp -d /tmp/tolvane-runtime.XXXXXX)
  chmod 700 "$XDG_RUNTIME_DIR"
fi
if command -v pulseaudio >/dev/null && ! pactl info >/dev/null 2>&1; then
  if pulseaudio --daemonize=yes --exit-idle-time=-1 -n \
      --load="module-null-sink sink_name=null" \
      --load=module-native-protocol-unix >/dev/null 2>&1; then
    started_pulse=1
    for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
    pactl set-default-sink null >/dev/null 2>&1 || true
  else
    echo "Note: no sound server could be started; tests that need one will skip." >&2
  fi
fi
cleanup() { [ "$started_pulse" = 1 ] && pulseaudio --kill >/dev/null 2>&1 || true; }
trap cleanup EXIT

cd "$root/build"
# The long reliability runs (labelled "reliability") are left to the README's
# commands; everything else runs here.
ctest --output-on-failure -j2 -LE reliability
