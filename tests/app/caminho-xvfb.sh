#!/usr/bin/env bash
# The real program on a virtual X screen, driven by xdotool as an operator
# drives it: "Etiquetas" -> "Imprimir" (a batch of every goods item) -> the
# queue window -> a barcode typed into "Adicionar por Codigo de Barras" and
# Enter -> a count typed in the grid and Enter -> "Imprimir etiquetas". The
# labels at the file port must be the bytes etiquetas-cli imprimir writes for
# the same queue.
# Usage: tests/app/caminho-xvfb.sh FOLDER_OF_etiquetas_AND_etiquetas-cli
# Exit 77 (skipped) when xvfb-run or xdotool is missing; under CI that fails (exit 1).
set -euo pipefail
AQUI=$(dirname "$(realpath "$0")")
BIN=$(realpath "${1:?pasta dos programas}")
. "$AQUI/xvfb-comum.sh"
exigir_tela_virtual

copiar_programas caminho-xvfb
"$PASTA/janela/etiquetas-cli" demo-db "$PASTA/loja.fdb" --mercadorias 8 --semente 3 >/dev/null
ini() {  # the configuration beside each program: same shop and model, its own file port
  printf '[CONF]\r\nPATH MERKOR=%s\r\nPATH REDE=FILE:%s\r\nMODELO=PPLA\r\nMODELO PRINT=11 - PPLA 3 colunas 22x33\r\nTEMPERATURA=10\r\n' \
    "$PASTA/loja.fdb" "$2" > "$1/configEtq.ini"
}
ini "$PASTA/janela" "$PASTA/janela.prn"
ini "$PASTA/cli" "$PASTA/cli.prn"

# A barcode of the shop: that of the last goods item by name (the count is
# typed on the first row of the grid, which is in name order).
"$PASTA/cli/etiquetas-cli" lote >/dev/null
BARRAS=$("$PASTA/cli/etiquetas-cli" fila | awk -F'\t' 'END {print $2}')
[ -n "$BARRAS" ] || { echo "a loja não tem código de barras" >&2; exit 1; }

cat > "$PASTA/dirigir.sh" <<FIM
set -euo pipefail
. "$AQUI/dirigir-xvfb.sh"
"$PASTA/janela/etiquetas" &
PID=\$!
# The program is gone before the shop's database is read again: the embedded
# engine holds the file while it runs.
trap 'kill \$PID 2>/dev/null || true; wait \$PID 2>/dev/null || true' EXIT
esperar "Etiquetas de codigo de barras"; sleep 0.5
clicar 248 30                      # "Etiquetas"
esperar "Relatório de produtos - Etiquetas"; sleep 0.5
clicar 76 25                       # "Imprimir": the batch, then the queue window
esperar "Etiqueta de produto"; sleep 0.5
clicar 785 80                      # "Adicionar por Codigo de Barras"
xdotool type --delay 20 "$BARRAS"
xdotool key Return
sleep 0.5
# The count of the first row, already the current cell, typed at once as a
# quick hand does: well within a double-click interval of the click.
xdotool mousemove --window "\$ID" 760 160 click 1 type --delay 20 "2"
xdotool key Return
sleep 0.3
clicar 785 537                     # "Imprimir etiquetas"
for _ in \$(seq 75); do [ -s "$PASTA/janela.prn" ] && break; sleep 0.2; done
sumir "Imprimindo etiquetas"
clicar 22 22                       # btnSair of the queue window
sumir "Etiqueta de produto"
FIM
xvfb-run -a -s "-screen 0 1024x768x24" bash "$PASTA/dirigir.sh"

FILA=$("$PASTA/cli/etiquetas-cli" fila)
echo "$FILA"
# The read barcode is a row of its own with one label; the typed count counts.
echo "$FILA" | awk -F'\t' -v b="$BARRAS" '$2 == b && $6 + 0 == 1 {achou = 1} END {exit !achou}' \
  || { echo "o código lido não entrou na fila com 1 etiqueta" >&2; exit 1; }
echo "$FILA" | awk -F'\t' '$6 + 0 == 2 {achou = 1} END {exit !achou}' \
  || { echo "a quantidade digitada na grade não ficou" >&2; exit 1; }
[ -s "$PASTA/janela.prn" ] || { echo "nada impresso pela janela" >&2; exit 1; }
"$PASTA/cli/etiquetas-cli" imprimir --sem-pausa
cmp "$PASTA/janela.prn" "$PASTA/cli.prn"
echo "ok: a janela imprimiu o mesmo que etiquetas-cli"
