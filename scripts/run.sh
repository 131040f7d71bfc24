#!/usr/bin/env bash
# Builds the station and starts it from its built program folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/build.sh"
bin="$root/build/bin"
if [ ! -x "$bin/Tolvane" ]; then
  echo "The station program Tolvane is not built yet: only its libraries and tools are." >&2
  echo "Built program folder: $bin" >&2
  exit 1
fi
cd "$bin"
exec ./Tolvane "$@"
