#!/usr/bin/env bash
# Builds, then renders every window with sample data to build/screenshots/*.png (offscreen).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/build.sh"
build_dir=${MERCHDESK_BUILD_DIR:-$root/build}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# Always the embedded database, whatever data sources this computer defines.
export ODBCSYSINI="$scratch" ODBCINI="$scratch/odbc.ini"
touch "$scratch/odbc.ini"
rm -rf "$build_dir/screenshots"
MERCHDESK_PROGRAM_DIR="$build_dir/bin" QT_QPA_PLATFORM=offscreen "$build_dir/tests/take_screenshots" "$build_dir/screenshots"
