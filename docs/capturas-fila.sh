#!/usr/bin/env bash
# Screenshots of the road to the label queue window, taken on a virtual screen
# over a small demo shop: the goods window, the queue window on the new batch,
# the line under the grid after a whole print, the queue's total after the
# stock import, the question before a big print, the print progress window, and
# the line after "Cancelar" and after a failure (a port that cannot open).
# Needs xvfb-run, xdotool, xwininfo (x11-utils) and import (imagemagick).
# Usage: docs/capturas-fila.sh [folder of etiquetas and etiquetas-cli]
set -euo pipefail
cd "$(dirname "$0")"
BIN=$(realpath "${1:-../build/bin}")
. ./capturas-comum.sh
exigir_programas xvfb-run xdotool xwininfo import

# The programs read configEtq.ini beside themselves: copies in a scratch folder.
PASTA=$(mktemp -d)
trap 'rm -rf "$PASTA"' EXIT
cp "$BIN/etiquetas" "$BIN/etiquetas-cli" "$PASTA/"
"$PASTA/etiquetas-cli" demo-db "$PASTA/loja.fdb" --mercadorias 40 --semente 7 >/dev/null
printf '[CONF]\r\nPATH MERKOR=%s\r\nPATH REDE=FILE:%s\r\nMODELO=PPLA\r\nMODELO PRINT=11 - PPLA 3 colunas 22x33\r\nTEMPERATURA=10\r\n' \
  "$PASTA/loja.fdb" "$PASTA/saida.prn" > "$PASTA/configEtq.ini"

cat > "$PASTA/capturar.sh" <<FIM
set -e
janela() { xwininfo -root -tree | grep "\"\$1\"" | awk '{print \$1}' | head -1; }
esperar() { for i in \$(seq 50); do ID=\$(janela "\$1"); [ -n "\$ID" ] && return 0; sleep 0.2; done; echo "sem janela \$1" >&2; return 1; }
sumir() { for i in \$(seq 100); do [ -z "\$(janela "\$1")" ] && return 0; sleep 0.2; done; echo "a janela \$1 ficou" >&2; return 1; }
"$PASTA/etiquetas" &
PID=\$!
esperar "Etiquetas de codigo de barras"; sleep 1
# btnEtiquetas
xdotool mousemove --window "\$ID" 248 30 click 1
esperar "Relatório de produtos - Etiquetas"; sleep 1
import -window "\$ID" "$PWD/janela-mercadorias-fila.png"
# btnImprimir: the batch of every goods item, then the queue window
xdotool mousemove --window "\$ID" 76 25 click 1
esperar "Etiqueta de produto"; sleep 1
import -window "\$ID" "$PWD/janela-fila.png"
# three labels of the first row, typed in the grid, then "Imprimir etiquetas"
xdotool mousemove --window "\$ID" 760 160 click 1
sleep 0.5; xdotool type "3"; xdotool key Return; sleep 0.5
xdotool mousemove --window "\$ID" 785 537 click 1
sleep 0.5; sumir "Imprimindo etiquetas"; sleep 0.5
import -window "\$ID" "$PWD/janela-fila-impressa.png"
# "Importar quantidade do estoque": the line under the grid counts the labels
xdotool mousemove --window "\$ID" 790 112 click 1
sleep 1
import -window "\$ID" "$PWD/janela-fila-estoque.png"
FILA=\$ID
# "Imprimir etiquetas" above the limit asks first; "Não" prints nothing
xdotool mousemove --window "\$ID" 785 537 click 1
esperar "Confirmação"; sleep 0.5
import -window root -crop 1024x768+0+0 "$PWD/janela-fila-pergunta.png"
xdotool key Escape
sumir "Confirmação"; sleep 0.5
# A regular file is not paced: a device node is, so the print can be watched.
sed -i 's|^PATH REDE=.*|PATH REDE=FILE:/dev/null\r|' "$PASTA/configEtq.ini"
ID=\$FILA
xdotool mousemove --window "\$ID" 785 537 click 1
esperar "Confirmação"; sleep 0.5
xdotool key Return
esperar "Imprimindo etiquetas"; sleep 2
import -window root -crop 1024x768+0+0 "$PWD/janela-fila-imprimindo.png"
# "Cancelar", at the foot of the progress window
L=\$(xwininfo -id "\$ID" | awk '/Width:/ {print \$2}')
A=\$(xwininfo -id "\$ID" | awk '/Height:/ {print \$2}')
xdotool mousemove --window "\$ID" \$((L / 2)) \$((A - 28)) click 1
sumir "Imprimindo etiquetas"; sleep 1
import -window "\$FILA" "$PWD/janela-fila-cancelada.png"
# A port that cannot open: the failure's box, then the line under the grid.
sed -i 's|^PATH REDE=.*|PATH REDE=FILE:/nao/existe/saida.prn\r|' "$PASTA/configEtq.ini"
ID=\$FILA
xdotool mousemove --window "\$ID" 785 537 click 1
esperar "Confirmação"; sleep 0.5
xdotool key Return
esperar "Erro de sistema"; sleep 0.5
xdotool mousemove --window "\$ID" 10 10; xdotool key Return
sumir "Erro de sistema"; sleep 0.5
import -window "\$FILA" "$PWD/janela-fila-falha.png"
kill \$PID
FIM
xvfb-run -a -s "-screen 0 1024x768x24" bash "$PASTA/capturar.sh"
echo "capturas em $PWD"
