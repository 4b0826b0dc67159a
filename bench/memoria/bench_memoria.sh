#!/usr/bin/env bash
# Peak memory of a batch and of a print as the shop grows:
#   bench/memoria/bench_memoria.sh [MERCADORIAS ...]   (100000 and 1000000 by default)
# For each size: a demo shop on the embedded engine (which lives in the
# program's process), `etiquetas-cli lote`, one label on every queue row, and
# `etiquetas-cli imprimir --sem-pausa` of model 11 to a file; the peak resident
# memory of each (/usr/bin/time) and the load average beside it, since the
# machine may be shared. Needs a build (scripts/build.sh) and a few GB of /tmp
# for a million goods.
set -euo pipefail
cd "$(dirname "$0")/../.."
CLI="$(pwd)/build/bin/etiquetas-cli"
[ -x "$CLI" ] || { echo "Compile antes: scripts/build.sh" >&2; exit 1; }
command -v isql-fb >/dev/null || { echo "Falta isql-fb (scripts/deps.sh)" >&2; exit 1; }
FIREBIRD="$(scripts/firebird-raiz.sh build/firebird)"
export FIREBIRD
T="$(mktemp -d /tmp/etiq-bench-memoria.XXXXXX)"
trap 'rm -rf "$T"' EXIT
mkdir -p "$T/bin"
cp "$CLI" "$T/bin/"   # configEtq.ini is read beside the program
carga() { cut -d' ' -f1 /proc/loadavg; }
pico() { sed -n 's/.*Maximum resident set size (kbytes): //p' "$1"; }
[ $# -gt 0 ] || set -- 100000 1000000
echo "| mercadorias | linhas da fila | lote: pico | lote: tempo | imprimir: pico | imprimir: tempo |"
echo "|---|---|---|---|---|---|"
for n in "$@"; do
  banco="$T/loja-$n.fdb"
  "$T/bin/etiquetas-cli" demo-db "$banco" --mercadorias "$n" >/dev/null
  printf '[CONF]\r\nPATH MERKOR=%s\r\nPATH REDE=FILE:%s\r\nMODELO=PPLA\r\nMODELO PRINT=11 - PPLA 3 colunas 22x33\r\n' \
    "$banco" "$T/saida.prn" > "$T/bin/configEtq.ini"
  c1="$(carga)"
  /usr/bin/time -v -o "$T/lote.time" "$T/bin/etiquetas-cli" lote > "$T/lote.out"
  linhas="$(tail -1 "$T/lote.out")"
  t1="$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$T/lote.time")"
  echo "update etiquetaread set quantidade = 1; commit;" | isql-fb -q -u SYSDBA "$banco" >/dev/null
  c2="$(carga)"
  /usr/bin/time -v -o "$T/imp.time" "$T/bin/etiquetas-cli" imprimir --sem-pausa >/dev/null
  t2="$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$T/imp.time")"
  echo "| $n | $linhas | $(( $(pico "$T/lote.time") / 1024 )) MB | $t1 (carga $c1) | $(( $(pico "$T/imp.time") / 1024 )) MB | $t2 (carga $c2) |"
  rm -f "$banco" "$T/saida.prn"
done
