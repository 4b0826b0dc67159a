#!/usr/bin/env bash
# A batch of all the goods of a demo shop (10,000 by default) and a model-11
# print of 1,000 labels (--sem-pausa, to a file port), each through a private
# Firebird server on the loopback and on the embedded engine, in one run.
#   bench/servidor/bench_servidor.sh [MERCADORIAS] [ETIQUETAS]
# Needs a build (scripts/build.sh). Prints both times and their ratio.
set -euo pipefail
cd "$(dirname "$0")/../.."
PROJETO="$(pwd)"
MERCADORIAS="${1:-10000}"
ETIQUETAS="${2:-1000}"
CLI="$PROJETO/build/bin/etiquetas-cli"
[ -x "$CLI" ] || { echo "Compile antes: scripts/build.sh" >&2; exit 1; }

T="$(mktemp -d /tmp/etiq-bench-servidor.XXXXXX)"
parar() { scripts/servidor.sh parar "$T/raiz" >/dev/null 2>&1 || true; rm -rf "$T"; }
trap parar EXIT

FIREBIRD="$(scripts/firebird-raiz.sh build/firebird)"
export FIREBIRD
PORTA="$(scripts/servidor.sh iniciar "$T/raiz")"

agora() { date +%s.%N; }
medir() {  # medir NOME comando...: seconds on standard output, the command's output in $T/NOME.out
  local nome="$1" ini fim
  shift
  ini="$(agora)"
  "$@" >"$T/$nome.out" 2>&1 || { echo "falhou: $*" >&2; cat "$T/$nome.out" >&2; exit 1; }
  fim="$(agora)"
  awk -v a="$ini" -v b="$fim" 'BEGIN { printf "%.3f", b - a }' 
}

declare -A LOTE IMPRESSAO
for modo in embutido servidor; do
  pasta="$T/$modo"
  mkdir -p "$pasta"
  arquivo="$pasta/loja.fdb"
  caminho="$arquivo"
  [ "$modo" = servidor ] && caminho="127.0.0.1/$PORTA:$arquivo"
  "$CLI" demo-db "$caminho" --mercadorias "$MERCADORIAS" --semente 1 >/dev/null
  ln -f "$CLI" "$pasta/etiquetas-cli" 2>/dev/null || cp "$CLI" "$pasta/etiquetas-cli"
  printf '[CONF]\r\nPATH MERKOR=%s\r\nPATH REDE=FILE:%s\r\nMODELO=ZPL\r\nTEMPERATURA=10\r\n' "$caminho" "$pasta/saida.prn" \
    >"$pasta/configEtq.ini"

  LOTE[$modo]="$(medir "lote-$modo" "$pasta/etiquetas-cli" lote)"
  # One label on each of the first ETIQUETAS queue rows.
  printf "connect '%s' user 'SYSDBA' password 'pinewoods';\nupdate etiquetaread set quantidade = 1 where codigo in (select first %s codigo from etiquetaread order by codigo);\ncommit;\n" \
    "$caminho" "$ETIQUETAS" | isql-fb -q >/dev/null
  IMPRESSAO[$modo]="$(medir "imprimir-$modo" "$pasta/etiquetas-cli" imprimir --modelo 11 --sem-pausa)"
  echo "$modo: lote $(cat "$T/lote-$modo.out"); $(cat "$T/imprimir-$modo.out")"
done

printf '\n%-28s %10s %10s %8s\n' "" "embutido" "servidor" "razão"
for linha in "lote de $MERCADORIAS mercadorias:LOTE" "modelo 11, $ETIQUETAS etiquetas:IMPRESSAO"; do
  rotulo="${linha%%:*}"
  declare -n tabela="${linha##*:}"
  e="${tabela[embutido]}"
  s="${tabela[servidor]}"
  printf '%-28s %9.2fs %9.2fs %7.2fx\n' "$rotulo" "$e" "$s" "$(awk -v a="$e" -v b="$s" 'BEGIN { printf "%.3f", b / a }')"
done
