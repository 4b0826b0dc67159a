#!/usr/bin/env bash
# Screenshots of the configuration panel with the picture of three models:
# a thermal one (11), a shelf-edge one (19) and an A4 sheet (26), taken on a
# virtual screen. Needs what docs/capturas.sh needs (scripts/deps.sh --capturas).
# Usage: docs/capturas-galeria.sh [path of the etiquetas program]
set -euo pipefail
cd "$(dirname "$0")"
PROGRAMA=$(realpath "${1:-../build/bin/etiquetas}")
. ./capturas-comum.sh
exigir_programas xvfb-run xdotool xwininfo import
copias_em_pasta "$PROGRAMA"


for modelo in 11 19 26; do
  # The panel chooses the model line by its index in the list.
  printf '[CONF]\r\nPATH REDE=LPT1\r\nMODELO=PPLA\r\nTEMPERATURA=12\r\nMODELO PRINT INDEX=%d\r\n' $((10#$modelo - 1)) \
    > "$PASTA/configEtq.ini"
  cat > "$PASTA/capturar.sh" <<FIM
set -e
$(abrir_painel)
sleep 1
# The panel widens the window: bring all of it onto the screen.
xdotool windowmove "\$ID" 0 0
sleep 3
import -window "\$ID" "$PWD/galeria-modelo$modelo.png"
kill \$PID
FIM
  xvfb-run -a -s "-screen 0 1280x800x24" bash "$PASTA/capturar.sh"
done
echo "capturas em $PWD/galeria-modelo{11,19,26}.png"
