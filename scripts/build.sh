#!/usr/bin/env bash
# Configures (once) and builds Ondaris into build/, executables in build/bin/.
set -euo pipefail
cd "$(dirname "$0")/.."
build_type=${BUILD_TYPE:-RelWithDebInfo}
build_dir=${BUILD_DIR:-build}
launcher=()
if command -v ccache >/dev/null 2>&1; then
  # Object files are shared between checkouts in different folders.
  export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(cd .. && pwd)}" CCACHE_NOHASHDIR=1
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
if [ ! -f "$build_dir/build.ninja" ]; then
  cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE="$build_type" "${launcher[@]}" "$@"
fi
cmake --build "$build_dir" -j "${JOBS:-2}"
