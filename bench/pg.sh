#!/usr/bin/env bash
# The TCE-SC run over the same large synthetic company on SQLite and on PostgreSQL: builds the
# company (101, mapped to the SC court chart) in a scratch file and in a scratch schema of the
# server, times both builds and both runs, and checks that the four files are the same bytes.
# Usage: bench/pg.sh ADDRESS [entries] [accounts]   (defaults 1000000 and 2000), ADDRESS a
# postgresql:// address (the password, if any, in PGPASSWORD or ~/.pgpass); the schema it makes
# there is dropped at the end. ULMO_BUILD_DIR picks the build (default ./build).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bin=${ULMO_BUILD_DIR:-$here/build}/bin
server=${1:?"uso: bench/pg.sh ENDERECO [lancamentos] [contas]"}
entries=${2:-1000000}
accounts=${3:-2000}
work=$(mktemp -d)
schema=bench_$$
case "$server" in
  postgres://* | postgresql://*) case "$server" in *\?*) sep='&' ;; *) sep='?' ;; esac
    pg="${server}${sep}options=-csearch_path%3D$schema" ;;
  *) pg="$server options='-csearch_path=$schema'" ;;
esac
cleanup() {
  psql -q "$server" -c "DROP SCHEMA IF EXISTS $schema CASCADE" >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
export TZ=UTC LC_ALL=C.UTF-8
[ -x "$bin/ulmo" ] || { echo "missing $bin/ulmo: build first (ninja -C build)" >&2; exit 2; }
psql -q -v ON_ERROR_STOP=1 "$server" -c "CREATE SCHEMA $schema" >/dev/null

. "$here/bench/medir.sh"

echo "TCE-SC company: $entries entries, $accounts accounts (load $(cut -d' ' -f1-3 /proc/loadavg))"
printf '%-12s %12s %12s %12s %12s\n' "" "build (s)" "run (s)" "run (MiB)" "bytes"
for engine in sqlite postgresql; do
  db=$work/bench.db
  [ "$engine" = postgresql ] && db=$pg
  read -r bs _ < <(measure "build_$engine" "$bin/ulmo" --db "$db" demo --empresa 101 --lancamentos "$entries" \
    --contas "$accounts" --tribunal SC)
  # Full statistics, as the run would find them on a database in use.
  if [ "$engine" = sqlite ]; then sqlite3 "$db" "ANALYZE;"; else psql -q "$pg" -c "ANALYZE" >/dev/null; fi
  mkdir -p "$work/$engine"
  read -r rs rk < <(measure "sc_$engine" "$bin/ulmo" --db "$db" --sistema 1 --empresa 101 run \
    TUlmoDPGerarArquivosCtbAreaTrabalho pCompetInicial=01/01/2024 pCompetFinal=31/12/2024 pCodigoEmpresa=101 \
    pDiretorio="$work/$engine")
  printf '%-12s %12s %12s %12d %12d\n' "$engine" "$bs" "$rs" $((rk / 1024)) \
    "$(find "$work/$engine" -type f -printf '%s\n' | awk '{s+=$1} END {print s+0}')"
done

same=igual
for f in $(cd "$work/sqlite" && find . -type f | sort); do
  cmp -s "$work/sqlite/$f" "$work/postgresql/$f" || { same="difere: $f"; break; }
done
[ "$(cd "$work/sqlite" && find . -type f | wc -l)" = "$(cd "$work/postgresql" && find . -type f | wc -l)" ] ||
  same="número de arquivos difere"
echo "files (cmp): $same"
[ "$same" = igual ]
