#!/usr/bin/env bash
# clang-tidy with .clang-tidy over the program's sources (or the files given),
# on the compile commands of build/. Fails when it reports anything.
# TIDY_JOBS limits the parallel runs (default: one per core); a whole run of
# src/ takes long, files with Qt headers most.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ ! -f build/compile_commands.json ]; then ./scripts/build.sh; fi
if [ $# -gt 0 ]; then
  arquivos=("$@")
else
  mapfile -t arquivos < <(git ls-files 'src/*.cpp')
fi
saida="$(mktemp)"
trap 'rm -f "$saida"' EXIT
printf '%s\n' "${arquivos[@]}" | xargs -P"${TIDY_JOBS:-$(nproc)}" -n4 clang-tidy -p build --quiet >"$saida" 2>/dev/null || true
if grep -qE "(warning|error): " "$saida"; then
  grep -E -A3 "(warning|error): " "$saida"
  echo "tidy: $(grep -cE '(warning|error): ' "$saida") apontamentos" >&2
  exit 1
fi
echo "tidy: nada apontado em ${#arquivos[@]} arquivos"
