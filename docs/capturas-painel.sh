#!/usr/bin/env bash
# Screenshots of the configuration panel on a 1366x768 screen (the whole
# screen, so it shows the panel fits) and of the manual window F1 opens, with
# a search, taken from the real program on a virtual screen.
# Needs xvfb-run, xdotool, xwininfo and import (scripts/deps.sh --capturas).
# Usage: docs/capturas-painel.sh [path of the etiquetas program]
set -euo pipefail
cd "$(dirname "$0")"
PROGRAMA=$(realpath "${1:-../build/bin/etiquetas}")
CLI=$(dirname "$PROGRAMA")/etiquetas-cli
. ./capturas-comum.sh
exigir_programas xvfb-run xdotool xwininfo import

# A copy in a scratch folder with a small demo shop: configEtq.ini beside it,
# in Windows-1252 as the program reads it.
copias_em_pasta "$PROGRAMA" "$CLI"
"$PASTA/etiquetas-cli" demo-db "$PASTA/loja.fdb" --mercadorias 20 >/dev/null
printf '[CONF]\r\nPATH MERKOR=%s/loja.fdb\r\nPATH REDE=TCP:192.168.0.50\r\nMODELO=PPLA\r\nTEMPERATURA=12\r\nMODELO PRINT INDEX=49\r\nNOME LOJA=Mercearia São José\r\nTEXTO LOJA=Oferta\r\n' \
  "$PASTA" | iconv -f UTF-8 -t CP1252 > "$PASTA/configEtq.ini"

cat > "$PASTA/capturar.sh" <<FIM
set -e
$(abrir_painel)
sleep 3
import -window root "$PWD/painel-1366x768.png"
# F1: the manual in the program's own window, searched
# With no window manager the focus went to the root when the password box
# closed: give it back, or the program's shortcut never sees the key.
xdotool windowfocus --sync "\$ID"
xdotool key F1
sleep 3
MAN=\$(xwininfo -root -tree | grep '"Manual ' | awk '{print \$1}' | head -1)
# import with no window waits for a click: stop instead of hanging.
[ -n "\$MAN" ] || { echo "a janela do manual não abriu" >&2; kill \$PID; exit 1; }
xdotool type --delay 40 "Continuar de onde parou"
xdotool key Return
sleep 1
import -window "\$MAN" "$PWD/janela-manual.png"
kill \$PID
FIM
xvfb-run -a -s "-screen 0 1366x768x24" bash "$PASTA/capturar.sh"
echo "$PWD/painel-1366x768.png $PWD/janela-manual.png"
