#!/usr/bin/env bash
# The main job: sets up and builds (setup.sh), creates the embedded demo database and writes the
# TCE-SC files of the demo SC company (company 1, court system 1) for 2024 into ./out/sc.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/scripts/setup.sh"
ulmo="${ULMO_BUILD_DIR:-$here/build}/bin/ulmo"
db=${ULMO_DB:-$here/demo.db}
cd "$here"
"$ulmo" --db "$db" demo
"$ulmo" --db "$db" --sistema 1 --empresa 1 run "Gerar Arquivos Contábeis - SC" \
  pCompetInicial=01/01/2024 pCompetFinal=31/12/2024 pIncluirImplSaldo=1 \
  pGeraAplicFinanceira=1 pOriLctoAplicado=AP pOriLctoResgatado=RF pOriLctoRendimento=RA \
  pDiretorio=./out/sc
