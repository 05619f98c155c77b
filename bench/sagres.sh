#!/usr/bin/env bash
# Times the twelve SAGRES months of the large synthetic company (company 104, mapped to TCE-SE)
# against its floor (bench/piso_sagres.c), several runs each, as bench/todos.sh's SAGRES step
# does once: prints each run's wall time and peak resident memory, the medians, and whether
# the months' documents are the floor's byte for byte.
# Usage: bench/sagres.sh [runs] [entries] [accounts]   (defaults 5, 1000000 and 2000)
# ULMO_BUILD_DIR picks the build (default ./build); ULMO_BENCH_DB=FILE times over a database an
# earlier run kept (ULMO_BENCH_KEEP=1 keeps it) instead of building one. ULMO_BENCH_PAGAMENTOS=N
# adds N paid invoices over the year (the synthetic company has none), so that the documents
# grow with the data; the floor writes no payments, so it is not run then.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bin=${ULMO_BUILD_DIR:-$here/build}/bin
runs=${1:-5}
entries=${2:-1000000}
accounts=${3:-2000}
work=$(mktemp -d)
cleanup() { if [ "${ULMO_BENCH_KEEP:-0}" = 1 ]; then echo "scratch kept in $work"; else rm -rf "$work"; fi; }
trap cleanup EXIT
db=$work/bench.db
export TZ=UTC LC_ALL=C.UTF-8

for p in ulmo ulmo_piso_sagres; do
  [ -x "$bin/$p" ] || { echo "missing $bin/$p: build first (ninja -C build)" >&2; exit 2; }
done

. "$here/bench/medir.sh"

# Runs the command once, sampling its memory every 20 ms: prints the peaks of anonymous memory
# (the heap: our data and SQLite's page cache) and of file-backed memory (the database file
# SQLite maps), in KiB.
rss_split() {
  "$@" >"$work/split.log" 2>&1 &
  local pid=$! anon=0 file=0 a f
  while kill -0 "$pid" 2>/dev/null; do
    read -r a f < <(awk '/^RssAnon/ {a=$2} /^RssFile/ {f=$2} END {print a+0, f+0}' "/proc/$pid/status" 2>/dev/null || echo 0 0)
    [ "$a" -gt "$anon" ] && anon=$a
    [ "$f" -gt "$file" ] && file=$f
    sleep 0.02
  done
  wait "$pid"
  echo "$anon $file"
}

median() { sort -g | awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR+1)/2] : (v[NR/2] + v[NR/2+1]) / 2}'; }

if [ -n "${ULMO_BENCH_DB:-}" ]; then
  cp "$ULMO_BENCH_DB" "$db"
else
  echo "Building company 104: $entries entries, $accounts accounts (load $(cut -d' ' -f1-3 /proc/loadavg))"
  read -r s _ < <(measure build "$bin/ulmo" --db "$db" demo --empresa 104 --lancamentos "$entries" \
    --contas "$accounts" --tribunal SE)
  echo "  built in ${s}s"
  sqlite3 "$db" "ANALYZE;"
fi
pagamentos=${ULMO_BENCH_PAGAMENTOS:-0}
if [ "$pagamentos" -gt 0 ]; then
  sqlite3 "$db" "
    insert into CFOP select 104, 1, 1102, 'Compra' where not exists (select 1 from CFOP where CODIGOEMPRESA = 104 and CODIGOESTAB = 1 and CODIGOCFOP = 1102);
    insert into TCESESAGRESPGTO select 104, 1, 1102, 3 where not exists (select 1 from TCESESAGRESPGTO where CODIGOEMPRESA = 104);
    create temp table N as with recursive n(i) as (select 1 union all select i + 1 from n where i < $pagamentos) select i, date('2024-01-01', '+' || (i % 366) || ' days') D from n;
    insert into LCTOFISENT select 104, 900000000 + i, 1, (select min(CODIGOPESSOA) from PESSOA), i, 'A', D, D from N;
    insert into LCTOFISENTCFOP select 104, 900000000 + i, 1, 1102 from N;
    insert into DUPLICATAENT select 104, (select min(CODIGOPESSOA) from PESSOA), 900000000 + i, 'DUP-' || i, 900000000 + i from N;
    insert into DUPLICATAENTPGTO select 104, (select min(CODIGOPESSOA) from PESSOA), 900000000 + i, 1, D, 1 + (i % 100000) / 100.0 from N;
    ANALYZE;"
  echo "  $pagamentos payments added"
fi
stores=$(sqlite3 "$db" "select min(CONTACTB) from PLANOESPEC where CODIGOEMPRESA = 104 and TIPOCONTA = 2 and CLASSIFCONTA like '1.%'")

: >"$work/p.txt"
: >"$work/f.txt"
for i in $(seq "$runs"); do
  rm -rf "$work/p" "$work/f"
  mkdir -p "$work/p" "$work/f"
  read -r ps pk < <(measure se "$bin/ulmo" --db "$db" --sistema 4 --empresa 104 run "Gerar Arquivos Contábeis Sagres Web - SE" \
    pDataInicial=01/01/2024 pDataFinal=31/12/2024 pUnidadeGestora=UG1 pContaCtbAlmoxarifado="$stores" pPastaDestino="$work/p")
  fs=0 fk=0
  [ "$pagamentos" -gt 0 ] ||
    read -r fs fk < <(measure se_floor "$bin/ulmo_piso_sagres" "$db" 104 4 2024-01-01 2024-12-31 UG1 "$stores" "$work/f")
  echo "$ps $pk" >>"$work/p.txt"
  echo "$fs $fk" >>"$work/f.txt"
  printf 'run %d: SAGRES %6.2f s %7.1f MiB | piso %6.2f s %7.1f MiB\n' "$i" "$ps" "$(echo "$pk / 1024" | bc -l)" \
    "$fs" "$(echo "$fk / 1024" | bc -l)"
done

rm -rf "$work/p"
mkdir -p "$work/p"
read -r anon file < <(rss_split "$bin/ulmo" --db "$db" --sistema 4 --empresa 104 run "Gerar Arquivos Contábeis Sagres Web - SE" \
  pDataInicial=01/01/2024 pDataFinal=31/12/2024 pUnidadeGestora=UG1 pContaCtbAlmoxarifado="$stores" pPastaDestino="$work/p")

same=igual
[ "$pagamentos" -gt 0 ] && same="sem piso ($pagamentos pagamentos)"
for f in $( [ "$pagamentos" -gt 0 ] || (cd "$work/p" && find . -name '*.zip' | sort)); do
  if [ ! -f "$work/f/$f" ] || ! cmp -s <(unzip -p "$work/p/$f") <(unzip -p "$work/f/$f"); then same="difere: $f"; break; fi
done
[ "$(cd "$work/p" && find . -name '*.zip' | wc -l)" = 12 ] || same="$same; meses: $(cd "$work/p" && find . -name '*.zip' | wc -l)"

xml=0
for f in $(cd "$work/p" && find . -name '*.zip'); do xml=$((xml + $(unzip -p "$work/p/$f" | wc -c))); done
pm=$(cut -d' ' -f1 "$work/p.txt" | median)
pk=$(cut -d' ' -f2 "$work/p.txt" | median)
fm=$(cut -d' ' -f1 "$work/f.txt" | median)
fk=$(cut -d' ' -f2 "$work/f.txt" | median)
awk -v pm="$pm" -v pk="$pk" -v fm="$fm" -v fk="$fk" -v n="$runs" -v r="$same" 'BEGIN {
  printf "median of %d: SAGRES %.2f s, %.1f MiB | piso %.2f s, %.1f MiB | tempo× %.2f | bytes %s\n",
    n, pm, pk/1024, fm, fk/1024, (fm > 0 ? pm/fm : 0), r }'
awk -v a="$anon" -v f="$file" -v x="$xml" 'BEGIN { printf "SAGRES memory peaks: anonymous %.1f MiB, database file mapped %.1f MiB; documents %d bytes\n", a/1024, f/1024, x }'
echo "(load $(cut -d' ' -f1-3 /proc/loadavg); $(nproc) CPUs)"
