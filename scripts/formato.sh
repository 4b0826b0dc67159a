#!/usr/bin/env bash
# Checks that every C++ source of the tree keeps the house style of
# .clang-format (the tree was formatted once, in the commit named in
# .git-blame-ignore-revs): prints what clang-format would change and fails
# when there is anything. `--corrigir` formats the files in place instead.
# Files given as arguments narrow the check to them.
set -euo pipefail
cd "$(dirname "$0")/.."
# Pinned: another clang-format version formats some constructs differently, so
# the check would fail (or pass) for the version rather than the code.
# scripts/deps.sh installs Debian 12's clang-format-14. CLANG_FORMAT names
# another binary of the same version.
VERSAO=14
CLANG_FORMAT="${CLANG_FORMAT:-clang-format-$VERSAO}"
if ! command -v "$CLANG_FORMAT" >/dev/null 2>&1; then
  echo "formato: falta $CLANG_FORMAT (scripts/deps.sh instala o pacote clang-format-$VERSAO)" >&2
  exit 2
fi
versao_achada="$("$CLANG_FORMAT" --version)"
if ! [[ "$versao_achada" =~ version\ $VERSAO\. ]]; then
  echo "formato: $CLANG_FORMAT é \"$versao_achada\"; a árvore segue o clang-format $VERSAO" \
       "(pacote clang-format-$VERSAO, scripts/deps.sh): outra versão formata diferente" >&2
  exit 2
fi
corrigir=0
if [ "${1:-}" = "--corrigir" ]; then corrigir=1; shift; fi
if [ $# -gt 0 ]; then
  arquivos=("$@")
else
  # Tracked files and new ones not yet added, so a check before `git add` sees them.
  mapfile -t arquivos < <(git ls-files --cached --others --exclude-standard -- \
    'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h' 'fuzz/*.cpp' 'fuzz/*.h' | sort -u)
fi
if [ $corrigir = 1 ]; then
  printf '%s\0' "${arquivos[@]}" | xargs -0 -r "$CLANG_FORMAT" -i
  echo "formato: ${#arquivos[@]} arquivos formatados"
  exit 0
fi
# One clang-format per batch of files; the diffs only for the files it flags.
if printf '%s\0' "${arquivos[@]}" | xargs -0 -r -n 50 -P "$(nproc)" "$CLANG_FORMAT" --dry-run --Werror 2>/dev/null; then
  echo "formato: ${#arquivos[@]} arquivos seguem .clang-format"
  exit 0
fi
for f in "${arquivos[@]}"; do
  [ -f "$f" ] || continue
  "$CLANG_FORMAT" "$f" | diff -u --label "$f" --label "$f (formatado)" "$f" - || true
done
echo "formato: arquivos fora do estilo de .clang-format (scripts/formato.sh --corrigir os ajusta)" >&2
exit 1
