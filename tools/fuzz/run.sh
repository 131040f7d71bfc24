#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer (address and undefined
# behaviour sanitizers) into build-fuzz/ and runs each in turn for the given
# number of seconds, then prints one line per target.
#
#   tools/fuzz/run.sh [seconds-per-target] [target...]
#
# Targets: datafile textfile profile reply pack (all by default). Each starts
# from the seeds in tools/fuzz/seeds/<target>, the inputs kept by the
# regression test in tests/reliability/fuzzcases/<target> and related test
# data of the project. A crash stops its target; its input is left in
# build-fuzz/crashes/<target>/ and replays with
#   build-fuzz/bin/fuzz_<target> <file>
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(datafile textfile profile reply pack)

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
missing=()
for p in clang libclang-rt-14-dev cmake ninja-build qt6-base-dev qt6-serialport-dev libmcrypt-dev; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -q
  "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

build=$root/build-fuzz
CC=clang CXX=clang++ cmake -S "$root/tools/fuzz" -B "$build" -G Ninja >/dev/null
cmake --build "$build" -- -j2 >/dev/null

# Test data that is not a seed of its own gets the first byte that the text
# checks read as their mode: the system code page and the encoding to write.
with_mode() { { printf '\x00'; cat "$1"; } >"$2"; }

# The targets write a few files per input: in memory where there is room.
scratch=$(mktemp -d "$( [ -d /dev/shm ] && echo /dev/shm || echo "${TMPDIR:-/tmp}")/tolvane-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
export TOLVANE_FUZZ_SCRATCH=$scratch

summary=()
for t in "${targets[@]}"; do
  corpus=$build/corpus/$t
  crashes=$build/crashes/$t
  mkdir -p "$corpus" "$crashes" "$build/logs"
  cp "$root/tools/fuzz/seeds/$t/"* "$corpus/"
  if [ -d "$root/tests/reliability/fuzzcases/$t" ]; then
    cp "$root/tests/reliability/fuzzcases/$t/"* "$corpus/" 2>/dev/null || true
  fi
  case $t in
    profile) cp "$root/resources/"*.conf "$corpus/" ;;
    textfile | pack)
      for f in "$root/resources/"*.conf "$root/tests/schedule/musicday.timeline" \
               "$root/tests/crypt/vectors.tsv"; do
        with_mode "$f" "$corpus/repo-$(basename "$f")"
      done ;;
  esac
  log=$build/logs/$t.log
  marker=$build/logs/$t.started
  touch "$marker"
  echo "fuzz_$t: ${seconds}s ..."
  set +e
  (cd "$build" && "$build/bin/fuzz_$t" -max_total_time="$seconds" -max_len=16384 -timeout=25 \
     -print_final_stats=1 -artifact_prefix="$crashes/" "$corpus" >"$log" 2>&1)
  status=$?
  set -e
  found=$(find "$crashes" -type f -newer "$marker" | wc -l)
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  took=$(sed -n 's/^Done \([0-9]*\) runs in \([0-9]*\) second.*/\2/p' "$log" | tail -1)
  cover=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  summary+=("$(printf '%-9s %10s runs %6ss  coverage %5s  corpus %5s  crashes %s  (exit %s)' \
    "$t" "${runs:-?}" "${took:-?}" "${cover:-?}" "$(ls "$corpus" | wc -l)" "$found" "$status")")
done

echo
printf '%s\n' "${summary[@]}"
