#!/usr/bin/env bash
# Configures (once) and builds Ondaris into build/, executables in build/bin/.
set -euo pipefail
cd "$(dirname "$0")/.."
build_type=${BUILD_TYPE:-RelWithDebInfo}
if [ ! -f build/build.ninja ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE="$build_type"
fi
cmake --build build -j "${JOBS:-2}"
