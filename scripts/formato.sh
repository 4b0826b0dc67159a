#!/usr/bin/env bash
# Checks that the C++ lines changed since BASE keep the house style of
# .clang-format; prints what clang-format would change and fails when there
# is anything. BASE: the first argument, else the commit that last set the
# style (what came after it must follow it). `--corrigir` formats those lines
# in place instead of failing.
set -euo pipefail
cd "$(dirname "$0")/.."
corrigir=0
if [ "${1:-}" = "--corrigir" ]; then corrigir=1; shift; fi
BASE="${1:-$(git log -1 --format=%H -- .clang-format)}"
if [ -z "$BASE" ]; then
  echo "formato: sem commit base (.clang-format fora do git?)" >&2
  exit 2
fi
if [ $corrigir = 1 ]; then
  git clang-format --binary "$(command -v clang-format)" --extensions cpp,h "$BASE" -- src tests bench fuzz
  exit 0
fi
saida="$(git clang-format --binary "$(command -v clang-format)" --extensions cpp,h --diff "$BASE" -- src tests bench fuzz || true)"
case "$saida" in
  "" | *"no modified files to format"* | *"did not modify any files"*)
    echo "formato: as linhas novas ou alteradas desde ${BASE:0:12} seguem .clang-format"
    ;;
  *)
    printf '%s\n' "$saida"
    echo "formato: linhas novas fora do estilo de .clang-format (scripts/formato.sh --corrigir as ajusta)" >&2
    exit 1
    ;;
esac
