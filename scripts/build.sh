#!/usr/bin/env bash
# Installs what is missing and builds the programs and tests into build/ (both cores).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
build_dir=${MERCHDESK_BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build "$build_dir" -j"$(nproc)"
