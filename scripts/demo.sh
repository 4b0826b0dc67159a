#!/usr/bin/env bash
# Called by ./run after the build: creates the demo shop on first use, writes a
# configEtq.ini pointing at it when there is none, and starts the program.
#   scripts/demo.sh [arguments of the program]
set -euo pipefail
cd "$(dirname "$0")/.."
RAIZ="$(pwd)"
BUILD="$RAIZ/${ETIQ_BUILD:-build}"  # ETIQ_BUILD: another build folder, for trying the script
BIN="$BUILD/bin"
DEMO="$BUILD/demo"
BANCO="$DEMO/loja.fdb"
INI="$BIN/configEtq.ini"

if [ ! -x "$BIN/etiquetas-cli" ]; then
  echo "build/bin/etiquetas-cli não existe: rode ./scripts/build.sh (ou ./run) e veja se a compilação terminou." >&2
  exit 1
fi

# Embedded Firebird in Classic mode: the program and etiquetas-cli can open the
# demo database at the same time.
FIREBIRD="$(scripts/firebird-raiz.sh "$BUILD/firebird")"
export FIREBIRD

mkdir -p "$DEMO"
if [ ! -f "$BANCO" ]; then
  echo "Criando a loja de demonstração em $BANCO ..."
  "$BIN/etiquetas-cli" demo-db "$BANCO" --mercadorias 300 --semente 1
fi

# The user's settings are never overwritten: written only when missing.
if [ ! -f "$INI" ]; then
  printf '[CONF]\r\nPATH MERKOR=%s\r\nPATH REDE=FILE:%s\r\nMODELO=PPLA\r\nTEMPERATURA=10\r\n' \
    "$BANCO" "$DEMO/saida.prn" | iconv -f UTF-8 -t CP1252 > "$INI.tmp"
  mv "$INI.tmp" "$INI"
  echo "Configuração criada: $INI (etiquetas vão para $DEMO/saida.prn)"
fi

if [ ! -x "$BIN/etiquetas" ]; then
  echo "O programa build/bin/etiquetas ainda não foi compilado (as janelas não estão prontas ou a compilação falhou)." >&2
  echo "A loja de demonstração está pronta em $BANCO; etiquetas-cli já funciona: $BIN/etiquetas-cli --help" >&2
  exit 1
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" != "offscreen" ]; then
  echo "Sem tela (DISPLAY vazio). Rode: xvfb-run -a ./run" >&2
  exit 1
fi

exec "$BIN/etiquetas" "$@"
