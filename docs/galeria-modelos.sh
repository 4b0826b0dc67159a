#!/usr/bin/env bash
# The gallery of the 59 label models in docs/modelos/: each picture drawn by
# etiquetas-cli modelos --png (no display needed) and a README.md table that
# shows them with their size and language.
# Usage: docs/galeria-modelos.sh [path of etiquetas-cli]
set -euo pipefail
cd "$(dirname "$0")"
CLI=$(realpath "${1:-../build/bin/etiquetas-cli}")

# The program reads configEtq.ini beside itself: run a copy in a scratch
# folder with no shop, so every picture comes from the sample goods (model 09,
# whose layout lives in a shop's format table, gets the reason instead).
PASTA=$(mktemp -d)
trap 'rm -rf "$PASTA"' EXIT
cp "$CLI" "$PASTA/etiquetas-cli"
rm -rf modelos
mkdir -p modelos
"$PASTA/etiquetas-cli" modelos --png "$PWD/modelos" 2>/dev/null > "$PASTA/lista.txt"

{
  echo "# Modelos de etiqueta"
  echo
  echo "Gerado por \`docs/galeria-modelos.sh\` (\`etiquetas-cli modelos --png\`): cada etiqueta térmica é desenhada"
  echo "a partir do fluxo que o próprio modelo envia à impressora, na linguagem para a qual foi escrito, com"
  echo "mercadorias de exemplo; os modelos A4 aparecem como a primeira página com a grade das etiquetas."
  echo
  echo "| Modelo | Imagem | Tipo | Linguagem | Por linha | Tamanho |"
  echo "|---|---|---|---|---|---|"
  # Lines: NN, description, kind, language, per row, size (columns of two blanks or more).
  grep -E '^[0-9]{2}  ' "$PASTA/lista.txt" | while IFS= read -r linha; do
    IFS=$'\t' read -r nn desc tipo ling porlinha tam < <(echo "$linha" | sed -E 's/ {2,}/\t/g')
    echo "| $nn - $desc | ![modelo $nn](modelo-$nn.png) | $tipo | $ling | $porlinha | ${tam:-} |"
  done
} > modelos/README.md
echo "galeria em $PWD/modelos"
