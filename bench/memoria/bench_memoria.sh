#!/usr/bin/env bash
# Peak memory of a batch and of a print as the shop grows:
#   bench/memoria/bench_memoria.sh [MERCADORIAS ...]   (100000 and 1000000 by default)
# For each size: a demo shop on the embedded engine (which lives in the
# program's process), `etiquetas-cli lote`, one label on every queue row, and
# `etiquetas-cli imprimir --sem-pausa` of model 11 to a file; the peak resident
# memory of each (/usr/bin/time) and the load average beside it, since the
# machine may be shared. Then what the print journal adds: a second whole
# print, `imprimir --sem-repetir` over the queue printed twice (refused), and
# `imprimir --continuar` of a print cut (SIGKILL, as a power cut) at half its
# stream, each peak beside the first print's. Needs a build (scripts/build.sh) and a few GB of /tmp
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
tempo() { sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$1"; }
mb() { echo $(( $(pico "$1") / 1024 )); }
echo "| mercadorias | linhas da fila | lote: pico | lote: tempo | imprimir: pico | imprimir: tempo |"
echo "|---|---|---|---|---|---|"
jornal=()
for n in "$@"; do
  banco="$T/loja-$n.fdb"
  "$T/bin/etiquetas-cli" demo-db "$banco" --mercadorias "$n" >/dev/null
  printf '[CONF]\r\nPATH MERKOR=%s\r\nPATH REDE=FILE:%s\r\nMODELO=PPLA\r\nMODELO PRINT=11 - PPLA 3 colunas 22x33\r\n' \
    "$banco" "$T/saida.prn" > "$T/bin/configEtq.ini"
  c1="$(carga)"
  /usr/bin/time -v -o "$T/lote.time" "$T/bin/etiquetas-cli" lote > "$T/lote.out"
  linhas="$(tail -1 "$T/lote.out" | cut -d" " -f1)"  # "N linhas na fila, M etiquetas"
  t1="$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$T/lote.time")"
  echo "update etiquetaread set quantidade = 1; commit;" | isql-fb -q -u SYSDBA "$banco" >/dev/null
  c2="$(carga)"
  /usr/bin/time -v -o "$T/imp.time" "$T/bin/etiquetas-cli" imprimir --sem-pausa >/dev/null
  t2="$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$T/imp.time")"
  echo "| $n | $linhas | $(( $(pico "$T/lote.time") / 1024 )) MB | $t1 (carga $c1) | $(( $(pico "$T/imp.time") / 1024 )) MB | $t2 (carga $c2) |"
  /usr/bin/time -v -o "$T/imp2.time" "$T/bin/etiquetas-cli" imprimir --sem-pausa >/dev/null 2>&1
  c3="$(carga)"
  /usr/bin/time -v -o "$T/rep.time" "$T/bin/etiquetas-cli" imprimir --sem-pausa --sem-repetir >/dev/null 2>&1 || true
  # Cut at about half, by the time the first print took, as a power cut would.
  metade="$(awk -F: '{ s = 0; for (i = 1; i <= NF; i++) s = s * 60 + $i; printf "%.1f", s / 2 }' <<<"$t2")"
  "$T/bin/etiquetas-cli" imprimir --sem-pausa >/dev/null 2>&1 &
  pid=$!
  sleep "$metade"
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  c4="$(carga)"
  /usr/bin/time -v -o "$T/cont.time" "$T/bin/etiquetas-cli" imprimir --sem-pausa --continuar > "$T/cont.out" 2>&1 || true
  p1="$(mb "$T/imp.time")"
  jornal+=("| $linhas | $p1 MB | $(mb "$T/imp2.time") MB | $(mb "$T/rep.time") MB, $(tempo "$T/rep.time") (carga $c3) | $(mb "$T/cont.time") MB, $(tempo "$T/cont.time") (carga $c4): $(head -1 "$T/cont.out") |")
  rm -f "$banco" "$T/saida.prn"
done
echo
echo "| linhas da fila | 1ª impressão: pico | 2ª impressão: pico | --sem-repetir (impressa 2 vezes): pico, tempo | --continuar (cortada na metade): pico, tempo |"
echo "|---|---|---|---|---|"
printf '%s\n' "${jornal[@]}"
