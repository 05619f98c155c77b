#!/usr/bin/env bash
# Builds the large synthetic company in a scratch database and times its balances.
# Usage: bench/run.sh [ulmo_bench options]   (defaults: --lancamentos 1000000 --contas 2000)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${ULMO_BUILD_DIR:-$here/build}
db=$(mktemp -d)/ulmo_bench.db
trap 'rm -rf "$(dirname "$db")"' EXIT
"$build/bin/ulmo_bench" --banco "$db" --empresa 100 --lancamentos 1000000 --contas 2000 "$@"
ls -l "$db" | awk '{print "banco: " $5 " bytes"}'
