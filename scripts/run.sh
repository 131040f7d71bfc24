#!/usr/bin/env bash
# Builds the station and starts it from its built program folder (build/bin).
#
#   bash scripts/run.sh          the station
#   bash scripts/run.sh --demo   the station and a simulated transmitter on
#                                COM1 of the program folder, to connect at once
#
# The station needs a display. On a machine without one, run it on a
# virtual display:  xvfb-run -a -s "-screen 0 1280x800x24" bash scripts/run.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

demo=0
args=()
for arg in "$@"; do
  case "$arg" in
    --demo) demo=1 ;;
    -h|--help)
      sed -n '2,9p' "$0" | sed 's/^# \{0,1\}//'
      exit 0 ;;
    *) args+=("$arg") ;;
  esac
done

bash "$root/scripts/build.sh"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  cat >&2 <<'TEXT'
No display: the station is a desktop program and needs one (DISPLAY is empty).
Run it on a virtual display:
    xvfb-run -a -s "-screen 0 1280x800x24" bash scripts/run.sh [--demo]
or offscreen, where nothing is shown (only to check that it starts; nobody
can log in there):
    QT_QPA_PLATFORM=offscreen bash scripts/run.sh
TEXT
  exit 2
fi

bin="$root/build/bin"
if [ ! -x "$bin/Tolvane" ]; then
  echo "The station program Tolvane was not built; see the build output above." >&2
  exit 1
fi

sim_pid=
stop_sim() {
  if [ -n "$sim_pid" ]; then
    kill "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
  fi
}
trap stop_sim EXIT

if [ "$demo" = 1 ]; then
  if [ ! -x "$bin/transmitter-sim" ]; then
    echo "transmitter-sim was not built." >&2
    exit 1
  fi
  # The exchange log goes beside the port link: log/ holds the station's own
  # monthly event log and nothing else.
  mkdir -p "$bin/ports"
  "$bin/transmitter-sim" --com 1 --folder "$bin" --log "$bin/ports/transmitter-sim.log" &
  sim_pid=$!
  for _ in $(seq 50); do [ -e "$bin/ports/COM1" ] && break; sleep 0.1; done
  if [ ! -e "$bin/ports/COM1" ]; then
    echo "The simulated transmitter did not come up." >&2
    exit 1
  fi
  echo "Demo transmitter on COM1 ($bin/ports/COM1); press \"连接设备\" (Connect) in the station."
fi

cd "$bin"
# The station runs in the foreground; the simulator ends with it.
"./Tolvane" "${args[@]+"${args[@]}"}"
