#!/usr/bin/env bash
# The real program on a virtual X screen, started by a retail system in direct
# mode over a queue it filled, printing to a network printer that closes the
# connection after the second job. The operator reads how far it got, then
# presses "Continuar de onde parou" (the printer answers again): the printer
# must have received every label once, in order, exactly the bytes
# etiquetas-cli imprimir writes for the same queue, and the journal must say so.
# Usage: tests/app/caminho-impressora-xvfb.sh FOLDER_OF_etiquetas_AND_etiquetas-cli PRINTER_STAND_IN
# Exit 77 (skipped) when xvfb-run or xdotool is missing; under CI that fails (exit 1).
set -euo pipefail
AQUI=$(dirname "$(realpath "$0")")
BIN=$(realpath "${1:?pasta dos programas}")
IMPRESSORA=$(realpath "${2:?impressora de teste}")
. "$AQUI/xvfb-comum.sh"
exigir_tela_virtual

copiar_programas caminho-impressora
IMP_PID=
trap '[ -n "$IMP_PID" ] && kill "$IMP_PID" 2>/dev/null; rm -rf "$PASTA"' EXIT
ini() {  # configEtq.ini beside a program: its shop database and port, model 11 in PPLA
  printf '[CONF]\r\nPATH MERKOR=%s\r\nPATH REDE=%s\r\nMODELO=PPLA\r\nMODELO PRINT=11 - PPLA 3 colunas 22x33\r\nTEMPERATURA=10\r\n' \
    "$2" "$3" > "$1/configEtq.ini"
}

# The queue as the retail system leaves it: four goods, 15 labels, five jobs of three.
CLI="$PASTA/janela/etiquetas-cli"
"$CLI" demo-db "$PASTA/loja.fdb" --mercadorias 8 --semente 3 >/dev/null
ini "$PASTA/janela" "$PASTA/loja.fdb" "FILE:$PASTA/nada.prn"
"$CLI" lote >/dev/null
for q in "2 4" "5 4" "6 4" "8 3"; do "$CLI" fila --quantidade $q >/dev/null; done

# What the whole print is, from a copy of the same shop.
cp "$PASTA/loja.fdb" "$PASTA/cli/loja.fdb"
ini "$PASTA/cli" "$PASTA/cli/loja.fdb" "FILE:$PASTA/inteira.prn"
"$PASTA/cli/etiquetas-cli" imprimir --sem-pausa >/dev/null
# Where the third job starts: the printer takes the first two, then closes.
CORTE=$(grep -obUaP '\x02L\r' "$PASTA/inteira.prn" | sed -n 3p | cut -d: -f1)
[ -n "$CORTE" ] || { echo "a impressão inteira não tem três trabalhos" >&2; exit 1; }

"$IMPRESSORA" "$PASTA/porta" "$PASTA/recebido" --fechar-apos "$CORTE" &
IMP_PID=$!
for _ in $(seq 50); do [ -s "$PASTA/porta" ] && break; sleep 0.1; done
ini "$PASTA/janela" "$PASTA/loja.fdb" "TCP:127.0.0.1:$(cat "$PASTA/porta")"

cat > "$PASTA/dirigir.sh" <<FIM
set -euo pipefail
. "$AQUI/dirigir-xvfb.sh"
"$PASTA/janela/etiquetas" ACESSA_DIRETO &
PID=\$!
trap 'kill \$PID 2>/dev/null || true; wait \$PID 2>/dev/null || true' EXIT
esperar "Etiqueta de produto"; sleep 0.5
clicar 785 537                     # "Imprimir etiquetas"
esperar "Erro de sistema"          # the printer closed after the second job
xdotool key Return
sumir "Erro de sistema"
esperar "Etiqueta de produto"
clicar 563 34                      # "Continuar de onde parou"
esperar "Imprimindo etiquetas"
sumir "Imprimindo etiquetas"
[ -z "\$(janela "Erro de sistema")" ] || { echo "a continuação falhou" >&2; exit 1; }
esperar "Etiqueta de produto"
clicar 22 22                       # btnSair of the queue window
sumir "Etiqueta de produto"
FIM
xvfb-run -a -s "-screen 0 1024x768x24" bash "$PASTA/dirigir.sh"
kill "$IMP_PID"
wait "$IMP_PID" || true
IMP_PID=

# Two connections: the first two jobs, then the rest from no later than the
# cut (the jobs the printer's stack took last are doubted and sent again):
# together the whole print, no label missing.
[ -f "$PASTA/recebido.2" ] && [ ! -f "$PASTA/recebido.3" ] \
  || { echo "a impressora não recebeu exatamente duas conexões" >&2; ls "$PASTA" >&2; exit 1; }
cmp "$PASTA/recebido.1" <(head -c "$CORTE" "$PASTA/inteira.prn")
RESTO=$(stat -c %s "$PASTA/recebido.2")
[ $(( $(stat -c %s "$PASTA/inteira.prn") - RESTO )) -le "$CORTE" ] \
  || { echo "a continuação começou depois do corte: etiquetas perdidas" >&2; exit 1; }
cmp "$PASTA/recebido.2" <(tail -c "$RESTO" "$PASTA/inteira.prn")
# The journal tells it as it happened: what the failed run counts and what
# the continuation sent make the 15 labels.
HISTORICO=$("$CLI" historico)
echo "$HISTORICO"
echo "$HISTORICO" | awk -F'\t' '$1 == 1 && $10 == "FALHA" {split($9, f, " "); a = f[1]; ok1 = (f[3] == 15)}
  $1 == 2 && $10 == "INTEIRA" && $11 == "continua 1" {split($9, c, " "); b = c[1]; ok2 = (c[1] == c[3])}
  END {exit !(ok1 && ok2 && a + b == 15)}' \
  || { echo "o diário não tem a falha e a continuação" >&2; exit 1; }
echo "ok: cada etiqueta chegou à impressora, na ordem, e o diário conta assim"
