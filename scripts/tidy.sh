#!/usr/bin/env bash
# clang-tidy 14 (pinned, scripts/deps.sh) with .clang-tidy over the program's
# sources, on the compile commands of build/. Fails when it reports anything.
#   scripts/tidy.sh                  all of src/ (long: files with Qt headers most)
#   scripts/tidy.sh A.cpp B.cpp      the files given
#   scripts/tidy.sh --change [BASE]  the sources a change touches: committed since
#                                    BASE (default: where the branch left main, or
#                                    HEAD on main itself), staged, unstaged and new;
#                                    a touched header brings the sources of src/
#                                    that include it
# TIDY_JOBS limits the parallel runs (default: one per core).
set -euo pipefail
cd "$(dirname "$0")/.."
CLANG_TIDY="${CLANG_TIDY:-clang-tidy-14}"
if ! command -v "$CLANG_TIDY" >/dev/null 2>&1; then
  echo "tidy: falta $CLANG_TIDY (scripts/deps.sh instala o pacote clang-tidy-14)" >&2
  exit 2
fi
if [ ! -f build/compile_commands.json ]; then ./scripts/build.sh; fi

if [ "${1:-}" = "--change" ]; then
  base="${2:-}"
  if [ -z "$base" ]; then
    base=HEAD
    if git rev-parse -q --verify main >/dev/null && [ "$(git rev-parse HEAD)" != "$(git rev-parse main)" ]; then
      base="$(git merge-base main HEAD)"
    fi
  fi
  mapfile -t tocados < <({ git diff --name-only --diff-filter=ACMR "$base" -- 'src/*.cpp' 'src/*.h'
                           git ls-files --others --exclude-standard -- 'src/*.cpp' 'src/*.h'; } | sort -u)
  arquivos=()
  for f in "${tocados[@]}"; do
    case "$f" in
      *.cpp) arquivos+=("$f") ;;
      # The sources that include the header, by its path from src/ or, beside
      # it, by its name.
      *.h)
        mapfile -t -O "${#arquivos[@]}" arquivos < <(
          git grep -l -F "#include \"${f#src/}\"" -- 'src/*.cpp' || true
          git grep -l -F "#include \"$(basename "$f")\"" -- "$(dirname "$f")/*.cpp" || true) ;;
    esac
  done
  mapfile -t arquivos < <(printf '%s\n' "${arquivos[@]}" | sort -u | grep -v '^$' || true)
  if [ ${#arquivos[@]} -eq 0 ]; then
    echo "tidy: a mudança desde $base não toca fontes de src/"
    exit 0
  fi
  echo "tidy: ${#arquivos[@]} fontes tocados desde $base"
elif [ $# -gt 0 ]; then
  arquivos=("$@")
else
  mapfile -t arquivos < <(git ls-files 'src/*.cpp')
fi
saida="$(mktemp)"
trap 'rm -f "$saida"' EXIT
printf '%s\n' "${arquivos[@]}" | xargs -P"${TIDY_JOBS:-$(nproc)}" -n4 "$CLANG_TIDY" -p build --quiet >"$saida" 2>/dev/null || true
if grep -qE "(warning|error): " "$saida"; then
  grep -E -A3 "(warning|error): " "$saida"
  echo "tidy: $(grep -cE '(warning|error): ' "$saida") apontamentos" >&2
  exit 1
fi
echo "tidy: nada apontado em ${#arquivos[@]} arquivos"
