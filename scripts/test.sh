#!/usr/bin/env bash
# Sets up and builds (see setup.sh), then runs every test through CTest.
# --postgres: instead, starts a throwaway PostgreSQL server (scripts/postgres.sh), runs the whole
# suite against it, runs the README's court jobs on a SQLite file and on the server and compares
# their files byte for byte, and stops the server.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
postgres=0
[ "${1:-}" = "--postgres" ] && postgres=1
bash "$here/scripts/setup.sh"
build="${ULMO_BUILD_DIR:-$here/build}"
if [ "$postgres" = 0 ]; then
  cd "$build"
  TZ=UTC LC_ALL=C.UTF-8 ctest --output-on-failure -j "$(nproc)"
  exit 0
fi

source "$here/scripts/postgres.sh"
job=$(mktemp -d "${TMPDIR:-/tmp}/ulmo-jobs.XXXXXX")
trap 'pg_parar; rm -rf "$job"' EXIT
pg_iniciar
echo "postgres: server at $ULMO_TESTE_PG"
(cd "$build" && TZ=UTC LC_ALL=C.UTF-8 ULMO_TESTE_PG="$ULMO_TESTE_PG" ctest --output-on-failure -j "$(nproc)")

# The README's jobs, the same on both engines: the demo, then each court's files of its company.
jobs() {
  local db=$1 out=$2 ulmo="$build/bin/ulmo"
  export TZ=UTC LC_ALL=C.UTF-8
  "$ulmo" --db "$db" demo >/dev/null
  "$ulmo" --db "$db" --sistema 1 --empresa 1 run "Gerar Arquivos Contábeis - SC" \
    pCompetInicial=01/01/2024 pCompetFinal=31/12/2024 pIncluirImplSaldo=1 \
    pGeraAplicFinanceira=1 pOriLctoAplicado=AP pOriLctoResgatado=RF pOriLctoRendimento=RA pDiretorio="$out/sc"
  "$ulmo" --db "$db" --sistema 2 --empresa 2 run "Gerar Arquivos Contábeis - RS" \
    pDataInicial=01/01/2024 pDataFinal=31/12/2024 pDiretorio="$out/rs"
  "$ulmo" --db "$db" --sistema 3 --empresa 3 run "Gerar Arquivos Contábeis - PR" \
    pDataInicial=01/01/2024 pDataFinal=31/12/2024 pIdPessoa=123 pGerarPessoa=1 pGerarPlanoContas=1 \
    pGerarSaldoCtb=1 pGerarMovimentoCtb=1 pTipoMovimentoCtb=1 pBens=1 pCompactarArq=1 pPastaDestino="$out/pr"
  "$ulmo" --db "$db" --sistema 4 --empresa 4 run "Gerar Arquivos Contábeis Sagres Web - SE" \
    pDataInicial=01/01/2024 pDataFinal=31/03/2024 pUnidadeGestora=UG1 pContaCtbAlmoxarifado=37 pPastaDestino="$out/se"
}
mkdir -p "$job/sqlite" "$job/postgres"
(cd "$job/sqlite" && jobs "$job/sqlite/demo.db" "$job/sqlite/out" >"$job/sqlite.log" 2>&1) ||
  { cat "$job/sqlite.log" >&2; exit 1; }
(cd "$job/postgres" && jobs "$ULMO_TESTE_PG" "$job/postgres/out" >"$job/postgres.log" 2>&1) ||
  { cat "$job/postgres.log" >&2; exit 1; }
# A ZIP's entries carry the time they were written: its entries' names and bytes are compared.
for z in $(cd "$job" && find sqlite/out postgres/out -name '*.zip'); do
  unzip -Z1 "$job/$z" >"$job/$z.entradas"
  mkdir "$job/$z.d" && unzip -q "$job/$z" -d "$job/$z.d" && rm "$job/$z"
done
[ -s "$job/sqlite/out/sc/LancamentoContabil.txt" ] || { echo "postgres: the SQLite job wrote no TCE-SC files" >&2; exit 1; }
if ! diff -r "$job/sqlite/out" "$job/postgres/out" >"$job/diff.txt"; then
  head -50 "$job/diff.txt" >&2
  echo "postgres: the court files on PostgreSQL differ from those on SQLite" >&2
  exit 1
fi
echo "postgres: the suite passed and the court files are the same on SQLite and PostgreSQL ($(find "$job/sqlite/out" -type f | wc -l) files)"
