#!/usr/bin/env bash
# Time and peak memory of `etiquetas-cli imprimir --continuar` over a long
# queue, the print before it cut by SIGKILL (a power cut) after CORTE seconds:
#   bench/memoria/bench_continuacao.sh [MERCADORIAS [CORTE]]   (1000000 and 120 by default)
# A demo shop on the embedded engine (which lives in the program's process),
# `etiquetas-cli lote`, one label on every queue row, model 11 to a file with
# `--sem-pausa`. Prints the peak resident memory (/usr/bin/time) and time of
# the cut print's continuation, what it sent, and the load average beside it,
# since the machine may be shared. Needs a build (scripts/build.sh) and a few
# GB of /tmp for a million goods.
set -euo pipefail
cd "$(dirname "$0")/../.."
CLI="$(pwd)/build/bin/etiquetas-cli"
[ -x "$CLI" ] || { echo "Compile antes: scripts/build.sh" >&2; exit 1; }
command -v isql-fb >/dev/null || { echo "Falta isql-fb (scripts/deps.sh)" >&2; exit 1; }
FIREBIRD="$(scripts/firebird-raiz.sh build/firebird)"
export FIREBIRD
N="${1:-1000000}"
CORTE="${2:-120}"
T="$(mktemp -d /tmp/etiq-bench-continuacao.XXXXXX)"
trap 'rm -rf "$T"' EXIT
mkdir -p "$T/bin"
cp "$CLI" "$T/bin/"   # configEtq.ini is read beside the program
carga() { cut -d' ' -f1 /proc/loadavg; }
pico() { sed -n 's/.*Maximum resident set size (kbytes): //p' "$1"; }
tempo() { sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$1"; }
banco="$T/loja.fdb"
"$T/bin/etiquetas-cli" demo-db "$banco" --mercadorias "$N" >/dev/null
printf '[CONF]\r\nPATH MERKOR=%s\r\nPATH REDE=FILE:%s\r\nMODELO=PPLA\r\nMODELO PRINT=11 - PPLA 3 colunas 22x33\r\n' \
  "$banco" "$T/saida.prn" > "$T/bin/configEtq.ini"
"$T/bin/etiquetas-cli" lote > "$T/lote.out"
linhas="$(tail -1 "$T/lote.out" | cut -d" " -f1)"  # "N linhas na fila, M etiquetas"
echo "update etiquetaread set quantidade = 1; commit;" | isql-fb -q -u SYSDBA "$banco" >/dev/null
"$T/bin/etiquetas-cli" imprimir --sem-pausa >/dev/null 2>&1 &
pid=$!
sleep "$CORTE"
kill -KILL "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
corte="$("$T/bin/etiquetas-cli" historico --ultimos 1 | head -1 | cut -f9,10 --output-delimiter=' ')"
c="$(carga)"
/usr/bin/time -v -o "$T/cont.time" "$T/bin/etiquetas-cli" imprimir --sem-pausa --continuar > "$T/cont.out" 2>&1 || true
echo "| linhas da fila | cortada após | diário no corte | --continuar: pico | --continuar: tempo | carga | saída |"
echo "|---|---|---|---|---|---|---|"
echo "| $linhas | $CORTE s | $corte | $(( $(pico "$T/cont.time") / 1024 )) MB | $(tempo "$T/cont.time") | $c | $(head -1 "$T/cont.out") |"
