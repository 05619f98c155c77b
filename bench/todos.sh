#!/usr/bin/env bash
# Times every court's run over a whole year of the large synthetic company against its floor:
# builds one company per court (101 TCE-SC, 102 TCE-RS, 103 TCE-PR, 104 TCE-SE) in a scratch
# database, then runs the TCE-SC files, the TCE-RS files, the TCE-PR file set with its ZIP, the
# twelve SAGRES months and the e-Sfinge online packages (the JSON of every month, sent to the
# local fake court), each beside the floor of bench/piso_*.c that writes the same bytes. Checks
# that the bytes are equal (cmp) and prints wall time, peak resident memory, bytes written and
# the ratios product/floor.
# Usage: bench/todos.sh [entries] [accounts]   (defaults 1000000 and 2000)
# ULMO_BUILD_DIR picks the build (default ./build); ULMO_BENCH_KEEP=1 keeps the scratch folder;
# ULMO_BENCH_DB=FILE times over a database an earlier run kept instead of building one.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bin=${ULMO_BUILD_DIR:-$here/build}/bin
entries=${1:-1000000}
accounts=${2:-2000}
work=$(mktemp -d)
fake_pid=
cleanup() {
  [ -n "$fake_pid" ] && kill "$fake_pid" 2>/dev/null || true
  if [ "${ULMO_BENCH_KEEP:-0}" = 1 ]; then echo "scratch kept in $work"; else rm -rf "$work"; fi
}
trap cleanup EXIT
db=$work/bench.db
export TZ=UTC LC_ALL=C.UTF-8
year_start=01/01/2024 year_end=31/12/2024 iso_start=2024-01-01 iso_end=2024-12-31

for p in ulmo ulmo_piso_sc; do
  [ -x "$bin/$p" ] || { echo "missing $bin/$p: build first (ninja -C build)" >&2; exit 2; }
done

. "$here/bench/medir.sh"

bytes_of() { find "$@" -type f -printf '%s\n' 2>/dev/null | awk '{s+=$1} END {print s+0}'; }

# Compares two folders file by file (names from the first); prints "igual" or what differs.
same_bytes() {
  local a=$1 b=$2 r=igual f
  for f in $(cd "$a" && find . -type f ! -name '*.zip' | sort); do
    if [ ! -f "$b/$f" ]; then r="falta $f"; break; fi
    if ! cmp -s "$a/$f" "$b/$f"; then r="difere: $(cmp "$a/$f" "$b/$f" 2>&1 | head -1)"; break; fi
  done
  # A ZIP carries the time it was written: its entries are compared, names and bytes, in order.
  for f in $(cd "$a" && find . -type f -name '*.zip' | sort); do
    [ "$r" = igual ] || break
    if [ ! -f "$b/$f" ]; then r="falta $f"; break; fi
    if ! cmp -s <(unzip -Z1 "$a/$f") <(unzip -Z1 "$b/$f") || ! cmp -s <(unzip -p "$a/$f") <(unzip -p "$b/$f"); then
      r="difere: entradas de $f"
    fi
  done
  echo "$r"
}

# The same for folders whose files are named apart (the e-Sfinge copies carry the time they were
# written): the files of each, in name order, compared pairwise.
same_bytes_in_order() {
  local a b r=igual
  mapfile -t a < <(find "$1" -type f | sort)
  mapfile -t b < <(find "$2" -type f | sort)
  [ "${#a[@]}" = "${#b[@]}" ] || { echo "${#a[@]} arquivos contra ${#b[@]}"; return; }
  for i in "${!a[@]}"; do
    if ! cmp -s "${a[$i]}" "${b[$i]}"; then r="difere: $(cmp "${a[$i]}" "${b[$i]}" 2>&1 | head -1)"; break; fi
  done
  echo "$r"
}

rows=()
row() {  # court, product s, product KiB, product bytes, floor s, floor KiB, floor bytes, cmp
  rows+=("$(printf '%s|%s|%s|%s|%s|%s|%s|%s' "$@")")
}

if [ -n "${ULMO_BENCH_DB:-}" ]; then
  cp "$ULMO_BENCH_DB" "$db"
  echo "Companies from $ULMO_BENCH_DB (load $(cut -d' ' -f1-3 /proc/loadavg))"
else
  echo "Building the companies: $entries entries, $accounts accounts each (load $(cut -d' ' -f1-3 /proc/loadavg))"
  for t in SC:101 RS:102 PR:103 SE:104; do
    read -r s _ < <(measure "build_${t%%:*}" "$bin/ulmo" --db "$db" demo --empresa "${t##*:}" \
      --lancamentos "$entries" --contas "$accounts" --tribunal "${t%%:*}")
    echo "  TCE-${t%%:*} (empresa ${t##*:}) built in ${s}s"
  done
fi
ls -l "$db" | awk '{print "  database: " $5 " bytes"}'
# Full statistics, so the product and the floors plan the same joins.
sqlite3 "$db" "ANALYZE;"

# TCE-SC: the four files, no opening balances nor financial applications (the defaults).
# The floor opens the database read-only with SQLite's defaults (no memory map, a 2 MB page
# cache); the product maps no memory either and keeps an 8 MiB page cache.
mkdir -p "$work/p/sc" "$work/f/sc"
read -r ps pk < <(measure sc "$bin/ulmo" --db "$db" --sistema 1 --empresa 101 run TUlmoDPGerarArquivosCtbAreaTrabalho \
  pCompetInicial=$year_start pCompetFinal=$year_end pCodigoEmpresa=101 pDiretorio="$work/p/sc")
read -r fs fk < <(measure sc_floor "$bin/ulmo_piso_sc" "$db" 101 1 $iso_start $iso_end "$work/f/sc")
row TCE-SC "$ps" "$pk" "$(bytes_of "$work/p/sc")" "$fs" "$fk" "$(bytes_of "$work/f/sc")" "$(same_bytes "$work/p/sc" "$work/f/sc")"

# TCE-RS: MOVIMENT.txt and BAL_VER.txt.
mkdir -p "$work/p/rs" "$work/f/rs"
read -r ps pk < <(measure rs "$bin/ulmo" --db "$db" --sistema 2 --empresa 102 run "Gerar Arquivos Contábeis - RS" \
  pDataInicial=$year_start pDataFinal=$year_end pDiretorio="$work/p/rs")
if [ -x "$bin/ulmo_piso_rs" ]; then
  read -r fs fk < <(measure rs_floor "$bin/ulmo_piso_rs" "$db" 102 2 $iso_start $iso_end "$work/f/rs")
  row TCE-RS "$ps" "$pk" "$(bytes_of "$work/p/rs")" "$fs" "$fk" "$(bytes_of "$work/f/rs")" "$(same_bytes "$work/p/rs" "$work/f/rs")"
else
  row TCE-RS "$ps" "$pk" "$(bytes_of "$work/p/rs")" - - - "sem piso"
fi

# TCE-PR: the seven files and their ZIP.
mkdir -p "$work/p" "$work/f/pr"
read -r ps pk < <(measure pr "$bin/ulmo" --db "$db" --sistema 3 --empresa 103 run "Gerar Arquivos Contábeis - PR" \
  pDataInicial=$year_start pDataFinal=$year_end pIdPessoa=123 pGerarPessoa=1 pGerarPlanoContas=1 \
  pGerarSaldoCtb=1 pGerarMovimentoCtb=1 pTipoMovimentoCtb=1 pBens=1 pCompactarArq=1 pPastaDestino="$work/p/pr")
if [ -x "$bin/ulmo_piso_pr" ]; then
  read -r fs fk < <(measure pr_floor "$bin/ulmo_piso_pr" "$db" 103 3 $iso_start $iso_end 123 "$work/f/pr")
  row TCE-PR "$ps" "$pk" "$(bytes_of "$work/p/pr")" "$fs" "$fk" "$(bytes_of "$work/f/pr")" "$(same_bytes "$work/f/pr" "$work/p/pr")"
else
  row TCE-PR "$ps" "$pk" "$(bytes_of "$work/p/pr")" - - - "sem piso"
fi

# SAGRES: twelve months, each yyyy_mm/ExecucaoEmpresas.zip (the floor zips its XML as well).
stores=$(sqlite3 "$db" "select min(CONTACTB) from PLANOESPEC where CODIGOEMPRESA = 104 and TIPOCONTA = 2 and CLASSIFCONTA like '1.%'")
mkdir -p "$work/p/se" "$work/f/se"
read -r ps pk < <(measure se "$bin/ulmo" --db "$db" --sistema 4 --empresa 104 run "Gerar Arquivos Contábeis Sagres Web - SE" \
  pDataInicial=$year_start pDataFinal=$year_end pUnidadeGestora=UG1 pContaCtbAlmoxarifado="$stores" pPastaDestino="$work/p/se")
if [ -x "$bin/ulmo_piso_sagres" ]; then
  read -r fs fk < <(measure se_floor "$bin/ulmo_piso_sagres" "$db" 104 4 $iso_start $iso_end UG1 "$stores" "$work/f/se")
  row SAGRES "$ps" "$pk" "$(bytes_of "$work/p/se")" "$fs" "$fk" "$(bytes_of "$work/f/se")" "$(same_bytes "$work/p/se" "$work/f/se")"
else
  row SAGRES "$ps" "$pk" "$(bytes_of "$work/p/se")" - - - "sem piso"
fi

# e-Sfinge online: every account and entry of the SC company ticked and sent, month by month,
# to the fake court on 127.0.0.1; the packages' JSON copies are the bytes compared.
"$bin/fake_esfinge_online" --tempo-limite 3600 --sem-conferir >"$work/tribunal.txt" 2>"$work/tribunal.err" &
fake_pid=$!
until [ -s "$work/tribunal.txt" ]; do sleep 0.1; done
mkdir -p "$work/p/esfinge" "$work/f/esfinge"
chmod 700 "$work/p/esfinge"
printf '[ambiente]\nesfinge_online_url = "%s"\n[instalacao]\nesfinge.pasta_copias = "%s"\n' \
  "$(head -1 "$work/tribunal.txt")" "$work/p/esfinge" >"$work/ulmo.toml"
read -r ps pk < <(measure esfinge "$bin/ulmo" --config "$work/ulmo.toml" --db "$db" --sistema 1 --empresa 101 \
  run "Enviar Arquivos Contábeis e-Sfinge Web - SC" pCompetInicial=$year_start pCompetFinal=$year_end \
  pUsuario=u pSenha=s pUnidadeGestora=ug --grade nClientDataSetConta --marcar todos \
  --grade nClientDataSetLcto --marcar todos --acao actEnviarInfEsfingeOnline)
kill "$fake_pid" 2>/dev/null || true
fake_pid=
if [ -x "$bin/ulmo_piso_esfinge" ]; then
  read -r fs fk < <(measure esfinge_floor "$bin/ulmo_piso_esfinge" "$db" 101 1 $iso_start $iso_end "$work/f/esfinge")
  row e-Sfinge "$ps" "$pk" "$(bytes_of "$work/p/esfinge")" "$fs" "$fk" "$(bytes_of "$work/f/esfinge")" "$(same_bytes_in_order "$work/p/esfinge" "$work/f/esfinge")"
else
  row e-Sfinge "$ps" "$pk" "$(bytes_of "$work/p/esfinge")" - - - "sem piso"
fi

printf '\n%-9s %10s %10s %13s | %9s %10s %13s | %7s %7s | %s\n' "" "wall (s)" "peak MiB" "bytes" \
  "piso (s)" "piso MiB" "piso bytes" "tempo×" "mem×" "bytes"
for r in "${rows[@]}"; do
  IFS='|' read -r c ps pk pb fs fk fb cmpr <<<"$r"
  awk -v c="$c" -v ps="$ps" -v pk="$pk" -v pb="$pb" -v fs="$fs" -v fk="$fk" -v fb="$fb" -v r="$cmpr" 'BEGIN {
    if (fs == "-") printf "%-9s %10.2f %10.1f %13d | %9s %10s %13s | %7s %7s | %s\n", c, ps, pk/1024, pb, "-", "-", "-", "-", "-", r
    else printf "%-9s %10.2f %10.1f %13d | %9.2f %10.1f %13d | %7.2f %7.2f | %s\n", c, ps, pk/1024, pb, fs, fk/1024, fb,
      (fs > 0 ? ps/fs : 0), pk/fk, r }'
done
echo "(load $(cut -d' ' -f1-3 /proc/loadavg); $(nproc) CPUs)"
