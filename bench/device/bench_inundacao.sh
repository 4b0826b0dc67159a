#!/usr/bin/env bash
# A printer on the loopback that never stops talking (from the connection's
# start, and as its answer to "~HS"): the time and peak memory of
# `etiquetas-cli imprimir --sem-pausa` of N labels (30 by default) in ZPL,
# which asks the status before and after (1 s each), and in PPLA, which only
# reads and drops what comes.
#   bench/device/bench_inundacao.sh [ETIQUETAS]
# Needs a build (scripts/build.sh).
set -euo pipefail
cd "$(dirname "$0")/../.."
CLI="$(pwd)/build/bin/etiquetas-cli"
IMPRESSORA="$(find build -name impressora-rede-teste -type f -perm -u+x | head -1)"
[ -x "$CLI" ] && [ -n "$IMPRESSORA" ] || { echo "Compile antes: scripts/build.sh" >&2; exit 1; }
FIREBIRD="$(scripts/firebird-raiz.sh build/firebird)"
export FIREBIRD
T="$(mktemp -d /tmp/etiq-bench-inundacao.XXXXXX)"
IMP_PID=
parar() { [ -z "$IMP_PID" ] || { kill "$IMP_PID" 2>/dev/null; wait "$IMP_PID" 2>/dev/null || true; }; rm -rf "$T"; }
trap parar EXIT
mkdir -p "$T/bin"
cp "$CLI" "$T/bin/"
"$T/bin/etiquetas-cli" demo-db "$T/loja.fdb" --mercadorias 20 >/dev/null
"$IMPRESSORA" "$T/porta" "$T/recebido" --inundar &
IMP_PID=$!
for _ in $(seq 50); do [ -s "$T/porta" ] && break; sleep 0.1; done
echo "| linguagem | etiquetas | saída | tempo | pico de memória | carga |"
echo "|---|---|---|---|---|---|"
for linguagem in ZPL PPLA; do
  printf '[CONF]\r\nPATH MERKOR=%s\r\nPATH REDE=TCP:127.0.0.1:%s\r\nMODELO=%s\r\nMODELO PRINT=11 - PPLA 3 colunas 22x33\r\n' \
    "$T/loja.fdb" "$(cat "$T/porta")" "$linguagem" > "$T/bin/configEtq.ini"
  "$T/bin/etiquetas-cli" lote >/dev/null
  codigo1="$("$T/bin/etiquetas-cli" fila | head -1 | cut -f1)"
  "$T/bin/etiquetas-cli" fila --quantidade "$codigo1" "${1:-30}" >/dev/null
  carga="$(cut -d' ' -f1 /proc/loadavg)"
  set +e
  /usr/bin/time -f '%e %M' -o "$T/time" "$T/bin/etiquetas-cli" imprimir --sem-pausa >/dev/null 2>"$T/erro"
  codigo=$?
  set -e
  read -r s kb < <(tail -1 "$T/time")  # a first line says a non-zero exit
  echo "| $linguagem | ${1:-30} | $codigo | $s s | $(( kb / 1024 )) MB | $carga |"
done
