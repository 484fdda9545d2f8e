#!/usr/bin/env bash
# Starts Ondaris on its built-in simulated receiver (port SIM), with a demo
# data folder of its own, so the front panel works at once without a radio.
#
#   scripts/start-demo.sh [more ondaris options]
#   ONDARIS_DEMO_DIR=DIR  data folder to use (default build/demo-data)
#
# While it runs, the companion tool can drive it from another terminal:
#   build/bin/ondaris-remote ? +9575 USB
set -euo pipefail
cd "$(dirname "$0")/.."

data_dir=${ONDARIS_DEMO_DIR:-build/demo-data}
mkdir -p "$data_dir/FreqFiles"

# A station list of real broadcasts to open with File > Open.
schedule=../shared/data/eibi-sked-b25.csv
if [ ! -f "$data_dir/FreqFiles/Demo.320" ] && [ -f "$schedule" ]; then
  python3 scripts/make-demo-list.py "$schedule" "$data_dir/FreqFiles/Demo.320" 400 || true
fi

# The clock radio's alarm sound lives in the data folder itself.
[ -f "$data_dir/Alarm.wav" ] || cp share/Alarm.wav "$data_dir/Alarm.wav"

if [ ! -x build/bin/ondaris ]; then
  echo "build/bin/ondaris is missing: run ./run.sh (or scripts/build.sh) first." >&2
  exit 1
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No desktop display found (DISPLAY and WAYLAND_DISPLAY are unset)." >&2
  echo "Ondaris runs without a window; drive it with build/bin/ondaris-remote, stop it with Ctrl+C." >&2
  export QT_QPA_PLATFORM=offscreen
  # Nobody could click a message box away: messages go to the terminal.
  export ONDARIS_NONINTERACTIVE=1
fi

echo "Starting Ondaris on the simulated RX-320, data in $data_dir"
echo "(the first start announces the missing state files; they are written at exit)."
exec build/bin/ondaris --port SIM --data-dir "$data_dir" "$@"
