#!/usr/bin/env bash
# Starts the simulated receiver and shows how to drive it.
set -euo pipefail
cd "$(dirname "$0")/.."
echo "Starting the simulated RX-320 (rx320-sim). Its first line is the device to open."
echo "Drive it, for example, with:  rigctl -m 16003 -r <device> F 9575000"
echo "Stop it with Ctrl+C."
exec build/bin/rx320-sim "$@"
