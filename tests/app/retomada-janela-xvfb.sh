#!/usr/bin/env bash
# The real program on a virtual X screen prints to a network printer and is
# ended by SIGTERM in the middle of the print (the session closes, the
# machine shuts down). `etiquetas-cli imprimir --continuar` then prints the
# rest to a printer that answers: the labels of both streams, counted in whole
# print jobs, cover the queue, and no more than about a second of jobs (the
# journal's progress) is printed twice.
# Usage: tests/app/retomada-janela-xvfb.sh FOLDER_OF_etiquetas_AND_etiquetas-cli PRINTER_STAND_IN
# Exit 77 (skipped) when xvfb-run or xdotool is missing; under CI that fails (exit 1).
set -euo pipefail
AQUI=$(dirname "$(realpath "$0")")
BIN=$(realpath "${1:?pasta dos programas}")
IMPRESSORA=$(realpath "${2:?impressora de teste}")
. "$AQUI/xvfb-comum.sh"
exigir_tela_virtual

copiar_programas retomada-janela
IMP_PID=
trap '[ -z "$IMP_PID" ] || kill "$IMP_PID" 2>/dev/null; rm -rf "$PASTA"' EXIT
ini() {  # configEtq.ini beside a program: its shop database and port, model 11 in PPLA
  printf '[CONF]\r\nPATH MERKOR=%s\r\nPATH REDE=%s\r\nMODELO=PPLA\r\nMODELO PRINT=11 - PPLA 3 colunas 22x33\r\nTEMPERATURA=10\r\nLIMITE CONFIRMACAO=0\r\n' \
    "$2" "$3" > "$1/configEtq.ini"
}
impressora() {  # starts a printer stand-in writing to $PASTA/$1.N; its port in $PORTA
  rm -f "$PASTA/porta"
  "$IMPRESSORA" "$PASTA/porta" "$PASTA/$1" &
  IMP_PID=$!
  for _ in $(seq 50); do [ -s "$PASTA/porta" ] && break; sleep 0.1; done
  [ -s "$PASTA/porta" ] || { echo "a impressora de teste não abriu a porta" >&2; exit 1; }
  PORTA=$(cat "$PASTA/porta")
}
parar_impressora() { kill "$IMP_PID"; wait "$IMP_PID" || true; IMP_PID=; }

# 120 labels in 40 jobs of three: 20 s at the window's pace of one job each 0.5 s.
CLI="$PASTA/janela/etiquetas-cli"
"$CLI" demo-db "$PASTA/loja.fdb" --mercadorias 8 --semente 3 >/dev/null
ini "$PASTA/janela" "$PASTA/loja.fdb" "FILE:$PASTA/nada.prn"
"$CLI" lote >/dev/null
for c in 2 5 6 8; do "$CLI" fila --quantidade "$c" 30 >/dev/null; done

cp "$PASTA/loja.fdb" "$PASTA/cli/loja.fdb"
ini "$PASTA/cli" "$PASTA/cli/loja.fdb" "FILE:$PASTA/inteira.prn"
"$PASTA/cli/etiquetas-cli" imprimir --sem-pausa >/dev/null
# Offsets where each job begins, and the end: job k is [INICIOS[k], INICIOS[k+1]).
mapfile -t INICIOS < <(grep -obUaP '\x02L\r' "$PASTA/inteira.prn" | cut -d: -f1)
INICIOS+=("$(stat -c %s "$PASTA/inteira.prn")")
TRABALHOS=$(( ${#INICIOS[@]} - 1 ))
[ "$TRABALHOS" -eq 40 ] || { echo "a impressão inteira tem $TRABALHOS trabalhos, não 40" >&2; exit 1; }
inteiros() {  # whole jobs at the start of a stream of $1 bytes
  local n=0
  while [ "$n" -lt "$TRABALHOS" ] && [ "${INICIOS[$((n + 1))]}" -le "$1" ]; do n=$((n + 1)); done
  echo "$n"
}

impressora primeira
ini "$PASTA/janela" "$PASTA/loja.fdb" "TCP:127.0.0.1:$PORTA"
cat > "$PASTA/dirigir.sh" <<FIM
set -euo pipefail
. "$AQUI/dirigir-xvfb.sh"
"$PASTA/janela/etiquetas" ACESSA_DIRETO &
PID=\$!
trap 'kill -KILL \$PID 2>/dev/null || true' EXIT
esperar "Etiqueta de produto"; sleep 0.5
clicar 785 537                     # "Imprimir etiquetas"
esperar "Imprimindo etiquetas"
sleep 3                            # about six jobs out
kill -TERM \$PID
set +e
wait \$PID
echo \$? > "$PASTA/saida-janela"
FIM
xvfb-run -a -s "-screen 0 1024x768x24" bash "$PASTA/dirigir.sh"
parar_impressora
[ "$(cat "$PASTA/saida-janela")" = 143 ] \
  || { echo "a janela terminou com $(cat "$PASTA/saida-janela"), não 143 (SIGTERM)" >&2; exit 1; }

# What the printer took is the start of the whole print; the journal counts no further.
B1=$(stat -c %s "$PASTA/primeira.1")
cmp "$PASTA/primeira.1" <(head -c "$B1" "$PASTA/inteira.prn")
R1=$(inteiros "$B1")
[ "$R1" -gt 0 ] && [ "$R1" -lt "$TRABALHOS" ] || { echo "o corte não caiu no meio: $R1 trabalhos" >&2; exit 1; }
HISTORICO=$("$CLI" historico --ultimos 1)
echo "$HISTORICO"
ENTREGUES=$(echo "$HISTORICO" | awk -F'\t' 'NR == 1 && ($10 == "EM CURSO" || $10 == "CANCELADA") {split($9, f, " "); print f[1]}')
[ -n "$ENTREGUES" ] || { echo "o diário não tem a impressão cortada" >&2; exit 1; }
[ $((ENTREGUES % 3)) -eq 0 ] || { echo "entregues $ENTREGUES não são trabalhos inteiros" >&2; exit 1; }
E=$((ENTREGUES / 3))

impressora segunda
ini "$PASTA/janela" "$PASTA/loja.fdb" "TCP:127.0.0.1:$PORTA"
SAIDA=$("$CLI" imprimir --sem-pausa --continuar)
parar_impressora
[ "$SAIDA" = "$((120 - ENTREGUES)) etiquetas enviadas (modelo 11)" ] || { echo "continuação: $SAIDA" >&2; exit 1; }
# The continuation is the whole print from the first job the journal did not count.
cmp "$PASTA/segunda.1" <(tail -c +"$((INICIOS[E] + 1))" "$PASTA/inteira.prn")
# No label lost; twice only what went after the last progress: a second is two jobs, with the slack
# the command-line kill tests allow.
[ "$R1" -ge "$E" ] || { echo "etiquetas perdidas: a impressora leu $R1 trabalhos, o diário diz $E" >&2; exit 1; }
[ $((R1 - E)) -le 6 ] || { echo "$((R1 - E)) trabalhos repetidos: mais que um segundo" >&2; exit 1; }
echo "ok: $R1 trabalhos antes do SIGTERM, o diário contou $E, a continuação mandou $((TRABALHOS - E))"
