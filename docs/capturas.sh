#!/usr/bin/env bash
# Screenshots of the main window in its two states and of the goods window,
# taken on a virtual screen.
# Needs xvfb-run, xdotool, xwininfo (x11-utils) and import (imagemagick):
# scripts/deps.sh --capturas installs them.
# Usage: docs/capturas.sh [path of the etiquetas program]
set -euo pipefail
cd "$(dirname "$0")"
PROGRAMA=$(realpath "${1:-../build/bin/etiquetas}")
CLI=$(dirname "$PROGRAMA")/etiquetas-cli
. ./capturas-comum.sh
exigir_programas xvfb-run xdotool xwininfo import

# The program reads configEtq.ini beside itself: run a copy in a scratch folder.
copias_em_pasta "$PROGRAMA"
printf '[CONF]\r\nPATH MERKOR=/var/lib/etiquetas/loja.fdb\r\nPATH REDE=LPT1\r\nMODELO=PPLA\r\nTEMPERATURA=12\r\nImportVitrinex=SIM\r\n' \
  > "$PASTA/configEtq.ini"


cat > "$PASTA/capturar.sh" <<FIM
set -e
"$PASTA/etiquetas" &
PID=\$!
sleep 3
janela() { xwininfo -root -tree | grep '"Etiquetas de codigo de barras"' | awk '{print \$1}' | head -1; }
ID=\$(janela)
import -window "\$ID" "$PWD/janela-principal.png"
# btnConfig, then the password prompt
xdotool mousemove --window "\$ID" 478 30 click 1
sleep 2
xdotool type --delay 50 "$(senha)"
xdotool key Return
sleep 2
import -window "\$ID" "$PWD/janela-configuracao.png"
kill \$PID
FIM
xvfb-run -a -s "-screen 0 1280x800x24" bash "$PASTA/capturar.sh"

# The goods window needs a shop: a small demo one in a folder of its own.
LOJA=$(mktemp -d)
trap 'rm -rf "$PASTA" "$LOJA"' EXIT
cp "$PROGRAMA" "$LOJA/etiquetas"
cp "$CLI" "$LOJA/etiquetas-cli"
printf '[CONF]\r\nPATH MERKOR=%s/loja.fdb\r\nMODELO PRINT=01 - Argox 1 coluna\r\n' "$LOJA" > "$LOJA/configEtq.ini"
"$LOJA/etiquetas-cli" demo-db "$LOJA/loja.fdb" --mercadorias 50 >/dev/null
cat > "$LOJA/capturar.sh" <<FIM
set -e
"$LOJA/etiquetas" &
PID=\$!
sleep 3
ID=\$(xwininfo -root -tree | grep '"Etiquetas de codigo de barras"' | awk '{print \$1}' | head -1)
# btnEtiquetas
xdotool mousemove --window "\$ID" 248 30 click 1
sleep 3
MERC=\$(xwininfo -root -tree | grep '"Relatório de produtos - Etiquetas"' | awk '{print \$1}' | head -1)
# "Nome do produto", then a name
xdotool mousemove --window "\$MERC" 300 194 click 1
sleep 1
xdotool type --delay 50 "camisa"
sleep 1
import -window "\$MERC" "$PWD/janela-mercadorias.png"
kill \$PID
FIM
xvfb-run -a -s "-screen 0 1024x768x24" bash "$LOJA/capturar.sh"
echo "capturas em $PWD"
