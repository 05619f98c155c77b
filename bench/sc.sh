#!/usr/bin/env bash
# Times the TCE-SC file process over the large synthetic company (1,000,000 entries, 2,000
# accounts, mapped to the SC court chart) against a floor: the sqlite3 client reading the same
# entries joined to their mapping into a file. Prints wall time, peak resident memory, lines and
# bytes of both, and their ratios. Usage: bench/sc.sh [entries] [accounts]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
ulmo=${ULMO_BUILD_DIR:-$here/build}/bin/ulmo
entries=${1:-1000000}
accounts=${2:-2000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
db=$work/bench.db

measure() {  # label, command...: runs it under /usr/bin/time -v, prints seconds and peak KiB
  local label=$1
  shift
  /usr/bin/time -v -o "$work/$label.time" "$@" >"$work/$label.log" 2>&1 || {
    cat "$work/$label.log"
    exit 1
  }
  local wall rss
  wall=$(awk -F': ' '/Elapsed \(wall clock\)/ {n=split($2,p,":"); s=0; for(i=1;i<=n;i++) s=s*60+p[i]; print s}' "$work/$label.time")
  rss=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/$label.time")
  echo "$wall $rss"
}

echo "Building the company: $entries entries, $accounts accounts..."
read -r build_s _ < <(measure build "$ulmo" --db "$db" demo --empresa 100 --lancamentos "$entries" --contas "$accounts")
echo "  built in ${build_s}s"

read -r proc_s proc_kb < <(measure process "$ulmo" --db "$db" run TUlmoDPGerarArquivosCtbAreaTrabalho \
  pCompetInicial=01/01/2024 pCompetFinal=31/12/2024 pCodigoEmpresa=100 pDiretorio="$work/out")
proc_lines=$(cat "$work"/out/*.txt | wc -l)
proc_bytes=$(cat "$work"/out/*.txt | wc -c)

cat >"$work/floor.sql" <<SQL
.mode list
.output $work/floor.txt
select L.CHAVELCTOCTB, L.DATALCTOCTB, 2, L.VALORLCTOCTB, L.CODIGOORIGLCTOCTB, H.DESCRHISTCTB, L.COMPLHIST, TP.CLASSIFCONTA
from LCTOCTB L join TCEPLANOPLESPEC T on T.CODIGOEMPRESA = L.CODIGOEMPRESA and T.CONTACTB = L.CONTACTBDEB
join TCEPLANO TP on TP.CODIGOSISTEMATCE = T.CODIGOSISTEMATCE and TP.CONTATCE = T.CONTATCE
left join HISTORICOCTB H on H.CODIGOHISTCTB = L.CODIGOHISTCTB
where L.CODIGOEMPRESA = 100 and L.DATALCTOCTB between '2024-01-01' and '2024-12-31'
union all
select L.CHAVELCTOCTB, L.DATALCTOCTB, 1, L.VALORLCTOCTB, L.CODIGOORIGLCTOCTB, H.DESCRHISTCTB, L.COMPLHIST, TP.CLASSIFCONTA
from LCTOCTB L join TCEPLANOPLESPEC T on T.CODIGOEMPRESA = L.CODIGOEMPRESA and T.CONTACTB = L.CONTACTBCRED
join TCEPLANO TP on TP.CODIGOSISTEMATCE = T.CODIGOSISTEMATCE and TP.CONTATCE = T.CONTATCE
left join HISTORICOCTB H on H.CODIGOHISTCTB = L.CODIGOHISTCTB
where L.CODIGOEMPRESA = 100 and L.DATALCTOCTB between '2024-01-01' and '2024-12-31';
SQL
read -r floor_s floor_kb < <(measure floor sqlite3 "$db" ".read $work/floor.sql")
floor_lines=$(wc -l <"$work/floor.txt")
floor_bytes=$(wc -c <"$work/floor.txt")

printf '\n%-22s %10s %12s %12s %14s\n' "" "wall (s)" "peak (MiB)" "lines" "bytes"
printf '%-22s %10s %12d %12d %14d\n' "TCE-SC process" "$proc_s" $((proc_kb / 1024)) "$proc_lines" "$proc_bytes"
printf '%-22s %10s %12d %12d %14d\n' "floor (sqlite3)" "$floor_s" $((floor_kb / 1024)) "$floor_lines" "$floor_bytes"
awk -v p="$proc_s" -v f="$floor_s" -v kb="$proc_kb" -v b="$proc_bytes" 'BEGIN {
  printf "\ntime ratio (process / floor): %.2f   (target <= 3)\n", p / f
  printf "peak memory / bytes written:   %.2f   (target <= 3)\n", kb * 1024 / b
}'
