#!/usr/bin/env bash
# Installs what is missing, builds, and starts Ondaris on the simulated receiver.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh
exec scripts/start-demo.sh "$@"
