#!/usr/bin/env bash
# A throwaway PostgreSQL server for the tests, on a Unix socket in a temporary folder, run by an
# unprivileged user (nobody when called as root: the server refuses to run as root).
#   source scripts/postgres.sh; pg_iniciar; ... "$ULMO_TESTE_PG" ...; pg_parar
# pg_iniciar sets ULMO_TESTE_PG to the address of an empty database "ulmo" (user "ulmo", no
# password: trust on the socket only, nothing listens on TCP).

pg_bin() {
  local d
  for d in /usr/lib/postgresql/*/bin; do [ -x "$d/initdb" ] && { echo "$d"; return; }; done
  echo "postgres: initdb not found (apt-get install postgresql)" >&2
  return 1
}

pg_como() {  # runs a command as the server's user
  if [ "$(id -u)" -eq 0 ]; then runuser -u nobody -- "$@"; else "$@"; fi
}

pg_iniciar() {
  local bin
  bin=$(pg_bin)
  ULMO_PG_DIR=$(mktemp -d "${TMPDIR:-/tmp}/ulmo-pg.XXXXXX")
  [ "$(id -u)" -eq 0 ] && chown nobody "$ULMO_PG_DIR"
  chmod 700 "$ULMO_PG_DIR"
  (cd "$ULMO_PG_DIR" && pg_como "$bin/initdb" -D "$ULMO_PG_DIR/data" -U ulmo --auth=trust -E UTF8 \
    --locale=C.UTF-8 >"$ULMO_PG_DIR/initdb.log" 2>&1) || { cat "$ULMO_PG_DIR/initdb.log" >&2; return 1; }
  # A scratch server: durability off, enough connections for the parallel tests.
  (cd "$ULMO_PG_DIR" && pg_como "$bin/pg_ctl" -D "$ULMO_PG_DIR/data" -l "$ULMO_PG_DIR/server.log" -w \
    -o "-k $ULMO_PG_DIR -c listen_addresses='' -c fsync=off -c synchronous_commit=off -c full_page_writes=off -c max_connections=200" \
    start >/dev/null) || { cat "$ULMO_PG_DIR/server.log" >&2; return 1; }
  (cd "$ULMO_PG_DIR" && pg_como "$bin/createdb" -h "$ULMO_PG_DIR" -U ulmo ulmo)
  export ULMO_TESTE_PG="postgresql://ulmo@/ulmo?host=$ULMO_PG_DIR"
}

pg_parar() {
  [ -n "${ULMO_PG_DIR:-}" ] && [ -d "$ULMO_PG_DIR" ] || return 0
  (cd "$ULMO_PG_DIR" && pg_como "$(pg_bin)/pg_ctl" -D "$ULMO_PG_DIR/data" -m fast -w stop >/dev/null 2>&1) || true
  rm -rf "$ULMO_PG_DIR"
  unset ULMO_PG_DIR
}
