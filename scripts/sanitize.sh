#!/usr/bin/env bash
# Builds the whole suite with AddressSanitizer and UndefinedBehaviorSanitizer (gcc) in
# build-asan, runs every test through CTest, then the README's main job (scripts/run.sh) with
# the sanitized program: the demo database and the TCE-SC files of its SC company for 2024.
# Any finding (memory error, leak, undefined behaviour) stops the program that made it and
# fails the script. Needs the packages of scripts/setup.sh.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${ULMO_ASAN_BUILD_DIR:-$here/build-asan}
jobs=$(nproc)

werror=OFF
[ "${CI:-}" = "true" ] && werror=ON
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DULMO_WERROR=$werror \
  -DULMO_SANITIZE=ON >/dev/null
cmake --build "$build" -j "$jobs"

# halt_on_error: UBSan stops at its first report instead of printing and going on.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1:check_initialization_order=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$here/fuzz/lsan.supp:print_suppressions=0}

(cd "$build" && TZ=UTC LC_ALL=C.UTF-8 ctest --output-on-failure -j "$jobs")

# The main job, as scripts/run.sh runs it, into a scratch folder.
job=$(mktemp -d "${TMPDIR:-/tmp}/ulmo-asan.XXXXXX")
trap 'rm -rf "$job"' EXIT
ulmo="$build/bin/ulmo"
cd "$job"
TZ=UTC LC_ALL=C.UTF-8 "$ulmo" --db demo.db demo
TZ=UTC LC_ALL=C.UTF-8 "$ulmo" --db demo.db --sistema 1 --empresa 1 run "Gerar Arquivos Contábeis - SC" \
  pCompetInicial=01/01/2024 pCompetFinal=31/12/2024 pIncluirImplSaldo=1 \
  pGeraAplicFinanceira=1 pOriLctoAplicado=AP pOriLctoResgatado=RF pOriLctoRendimento=RA \
  pDiretorio=./out/sc
for f in ContaContabil.txt LancamentoContabil.txt MovimentoContabil.txt AplicacaoFinanceira.txt; do
  [ -s "out/sc/$f" ] || { echo "sanitize: the main job wrote no out/sc/$f" >&2; exit 1; }
done
echo "sanitize: tests and the main job passed with ASan and UBSan"
