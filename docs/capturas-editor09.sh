#!/usr/bin/env bash
# Screenshots of the "Editor de etiqueta (modelo 09)" window over a small demo
# shop with a three-per-row design: once with the printer in PPLA (the picture
# with its barcodes), once in ZPL (the warnings beside the picture). Taken on
# a virtual screen; needs what docs/capturas.sh needs (scripts/deps.sh --capturas).
# Usage: docs/capturas-editor09.sh [path of the etiquetas program]
set -euo pipefail
cd "$(dirname "$0")"
PROGRAMA=$(realpath "${1:-../build/bin/etiquetas}")
CLI=$(dirname "$PROGRAMA")/etiquetas-cli
. ./capturas-comum.sh
exigir_programas xvfb-run xdotool xwininfo import
copias_em_pasta "$PROGRAMA" "$CLI"
LOJA=$PASTA
"$LOJA/etiquetas-cli" demo-db "$LOJA/loja.fdb" --mercadorias 30 >/dev/null
cat > "$LOJA/gondola.ini" <<'FIM'
[etiqueta]
por_linha = 3
passo_mm = 36

[campo]
imprime = NOME
tamanho = 20
fonte = 2
vertical_mm = 2
horizontal_mm = 1

[campo]
imprime = VALOR DE VENDA
tamanho = 10
fonte = 4
vertical_mm = 6
horizontal_mm = 1

[campo]
imprime = TEXTO LIVRE
texto = OFERTA
tamanho = 10
fonte = 1
vertical_mm = 6
horizontal_mm = 24

[campo]
imprime = CODIGO DE BARRAS
tamanho = 10
fonte = 0
vertical_mm = 11
horizontal_mm = 2
variante = A
FIM


for linguagem in PPLA ZPL; do
  printf '[CONF]\r\nPATH MERKOR=%s/loja.fdb\r\nPATH REDE=LPT1\r\nMODELO=%s\r\nMODELO PRINT INDEX=8\r\nALTURA ETIQUETA 09=25\r\n' \
    "$LOJA" "$linguagem" > "$LOJA/configEtq.ini"
  "$LOJA/etiquetas-cli" formato importar "$LOJA/gondola.ini" --substituir >/dev/null 2>&1
  nome=editor-modelo09-$(echo "$linguagem" | tr 'A-Z' 'a-z').png
  cat > "$LOJA/capturar.sh" <<FIM
set -e
$(abrir_painel)
sleep 2
xdotool windowmove "\$ID" 0 0
sleep 1
# "Editor de etiqueta (modelo 09)" on the panel
xdotool mousemove --window "\$ID" 584 348 click 1
sleep 3
EDITOR=\$(xwininfo -root -tree | grep '"Editor de etiqueta (modelo 09)"' | awk '{print \$1}' | head -1)
xdotool windowmove "\$EDITOR" 0 0
sleep 2
import -window "\$EDITOR" "$PWD/$nome"
kill \$PID
FIM
  xvfb-run -a -s "-screen 0 1280x800x24" bash "$LOJA/capturar.sh"
done
echo "capturas em $PWD/editor-modelo09-ppla.png e $PWD/editor-modelo09-zpl.png"
