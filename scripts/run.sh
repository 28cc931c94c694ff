#!/usr/bin/env bash
# Installs what is missing, builds, and starts merchdesk on the embedded database
# (build/bin/data/SMDT.db, created at the first start).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/build.sh"
build_dir=${MERCHDESK_BUILD_DIR:-$root/build}
exec "$build_dir/bin/merchdesk" "$@"
