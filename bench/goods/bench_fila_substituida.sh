#!/usr/bin/env bash
# The same shop's queue replaced again and again by `etiquetas-cli lote`:
#   bench/goods/bench_fila_substituida.sh [MERCADORIAS] [VEZES]   (100000 and 8 by default)
# A demo shop of N goods on the embedded engine, then VEZES batches of every
# active goods item, one after the other, each a process of its own as a
# shop's runs are; the wall time of each and its ratio to the first (a fresh
# queue). The load average beside each, since the machine may be shared.
set -euo pipefail
cd "$(dirname "$0")/../.."
CLI="$(pwd)/build/bin/etiquetas-cli"
[ -x "$CLI" ] || { echo "Compile antes: scripts/build.sh" >&2; exit 1; }
FIREBIRD="$(scripts/firebird-raiz.sh build/firebird)"
export FIREBIRD
N="${1:-100000}"
VEZES="${2:-8}"
T="$(mktemp -d /tmp/etiq-bench-substituida.XXXXXX)"
trap 'rm -rf "$T"' EXIT
mkdir -p "$T/bin"
cp "$CLI" "$T/bin/"   # configEtq.ini is read beside the program
"$T/bin/etiquetas-cli" demo-db "$T/loja.fdb" --mercadorias "$N" >/dev/null
printf '[CONF]\r\nPATH MERKOR=%s\r\nPATH REDE=FILE:%s\r\nMODELO=PPLA\r\nMODELO PRINT=11 - PPLA 3 colunas 22x33\r\n' \
  "$T/loja.fdb" "$T/saida.prn" > "$T/bin/configEtq.ini"
primeiro=""
echo "| vez | lote | razão à primeira | carga | saída |"
echo "|---|---|---|---|---|"
for i in $(seq 1 "$VEZES"); do
  inicio=$(date +%s.%N)
  saida="$("$T/bin/etiquetas-cli" lote)"
  fim=$(date +%s.%N)
  s=$(echo "$fim - $inicio" | bc -l)
  [ -n "$primeiro" ] || primeiro="$s"
  printf '| %d | %.2f s | %.2f | %s | %s |\n' "$i" "$s" "$(echo "$s / $primeiro" | bc -l)" \
    "$(cut -d' ' -f1 /proc/loadavg)" "$saida"
done
