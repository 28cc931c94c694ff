#!/usr/bin/env bash
# A throwaway PostgreSQL server for the tests, owned by an unprivileged user, listening on
# loopback only, with the ODBC data source "korvane" defined in files of its own folder.
#
#   scripts/pg_server.sh start DIR   starts a cluster in DIR and writes DIR/env (source it)
#   scripts/pg_server.sh stop DIR    stops it
set -euo pipefail
cmd=${1:-}
dir=${2:-}
[ -n "$cmd" ] && [ -n "$dir" ] || { echo "usage: $0 start|stop DIR" >&2; exit 2; }

pg_bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
driver=$(ls /usr/lib/x86_64-linux-gnu/odbc/psqlodbcw.so /usr/lib/*/odbc/psqlodbcw.so 2>/dev/null | head -n 1 || true)

as_owner() {
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u postgres -- "$@"
  else
    "$@"
  fi
}

case "$cmd" in
start)
  if [ -z "$pg_bin" ] || [ ! -x "$pg_bin/initdb" ] || [ -z "$driver" ]; then
    echo "pg_server: PostgreSQL or psqlODBC is not installed" >&2
    exit 3
  fi
  mkdir -p "$dir"
  dir=$(cd "$dir" && pwd)
  data="$dir/data"
  sock="$dir/sock"
  mkdir -p "$sock"
  if [ "$(id -u)" -eq 0 ]; then chown -R postgres "$dir"; fi
  port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1]); s.close()')
  as_owner "$pg_bin/initdb" -D "$data" -E UTF8 --locale=C.UTF-8 -U postgres --auth=trust >"$dir/initdb.log" 2>&1
  as_owner "$pg_bin/pg_ctl" -D "$data" -l "$dir/server.log" \
    -o "-p $port -k $sock -c listen_addresses=127.0.0.1 -c fsync=off -c synchronous_commit=off -c full_page_writes=off" \
    -w start >/dev/null
  psql=("$pg_bin/psql" -h 127.0.0.1 -p "$port" -U postgres -v ON_ERROR_STOP=1 -q)
  "${psql[@]}" -d postgres -c "create role kvmdui login password 'kvmdui'"
  "${psql[@]}" -d postgres -c "create database kvmdui owner kvmdui encoding 'UTF8'"
  "${psql[@]}" -d kvmdui -c "alter schema public owner to kvmdui"
  cat >"$dir/odbcinst.ini" <<INI
[PostgreSQL Unicode]
Description = PostgreSQL ODBC driver (Unicode)
Driver = $driver
INI
  cat >"$dir/odbc.ini" <<INI
[korvane]
Description = Vantrel test database
Driver = PostgreSQL Unicode
Servername = 127.0.0.1
Port = $port
Database = kvmdui
INI
  cat >"$dir/env" <<ENV
export ODBCSYSINI='$dir'
export ODBCINI='$dir/odbc.ini'
export MERCHDESK_PG_PORT='$port'
ENV
  echo "pg_server: started on 127.0.0.1:$port ($dir)"
  ;;
stop)
  if [ -d "$dir/data" ] && [ -n "$pg_bin" ]; then
    as_owner "$pg_bin/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
  fi
  ;;
*)
  echo "usage: $0 start|stop DIR" >&2
  exit 2
  ;;
esac
