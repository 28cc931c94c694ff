#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: first on the embedded SQLite database,
# then the database and screen tests again on a throwaway PostgreSQL server reached through the
# ODBC data source "korvane". Ends with CTest's summary of each run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/build.sh"
build_dir=${MERCHDESK_BUILD_DIR:-$root/build}

# The machine's own data sources must not leak into the embedded run.
scratch=$(mktemp -d)
chmod 755 "$scratch"
export ODBCSYSINI="$scratch" ODBCINI="$scratch/odbc.ini"
touch "$scratch/odbc.ini" "$scratch/odbcinst.ini"

status=0
echo "== Tests on the embedded SQLite database =="
(cd "$build_dir" && ctest --output-on-failure -j2 --timeout 900) || status=1

pg_dir="$scratch/pg"
stop_server() { bash "$root/scripts/pg_server.sh" stop "$pg_dir" || true; rm -rf "$scratch" 2>/dev/null || true; }
trap stop_server EXIT

if bash "$root/scripts/pg_server.sh" start "$pg_dir"; then
  # shellcheck disable=SC1091
  source "$pg_dir/env"
  echo "== Database and screen tests on PostgreSQL (data source korvane) =="
  # One database for all: the tests run one after another.
  (cd "$build_dir" && ctest --output-on-failure -L db -j1 --timeout 900) || status=1
else
  if [ "${CI:-}" = "true" ]; then
    echo "PostgreSQL could not be started: the server half of the tests cannot run" >&2
    status=1
  else
    echo "NOTE: PostgreSQL is not available here; the server half of the tests was SKIPPED."
  fi
fi
exit $status
