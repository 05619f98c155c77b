#!/usr/bin/env bash
# Regenerates the golden files from the current code, on purpose: builds the program, writes every
# case's files into a scratch folder, prints the difference with golden/esperado/ and replaces it.
# Review the difference before committing it. Usage: golden/atualizar.sh [BUILD_DIR]
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$raiz/build}"
ninja -C "$build" golden_gerar
novo="$(mktemp -d)"
trap 'rm -rf "$novo"' EXIT
TZ=UTC LC_ALL=C.UTF-8 "$build/bin/golden_gerar" "$novo/esperado"
if diff -ru --text "$raiz/golden/esperado" "$novo/esperado"; then
  echo "golden: nada mudou"
else
  rm -rf "$raiz/golden/esperado"
  cp -r "$novo/esperado" "$raiz/golden/esperado"
  echo "golden: golden/esperado/ atualizado; revise a diferença acima antes de registrá-la"
fi
