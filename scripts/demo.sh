#!/usr/bin/env bash
# Called by ./run after the build: creates the demo shop on first use, writes a
# configEtq.ini pointing at it when there is none, and starts the program.
#   scripts/demo.sh [--servidor] [arguments of the program]
set -euo pipefail
cd "$(dirname "$0")/.."
RAIZ="$(pwd)"
BUILD="$RAIZ/${ETIQ_BUILD:-build}"  # ETIQ_BUILD: another build folder, for trying the script
BIN="$BUILD/bin"
DEMO="$BUILD/demo"
BANCO="$DEMO/loja.fdb"
INI="$BIN/configEtq.ini"

# A configEtq.ini (Windows-1252, CR LF) for the shop at $2, labels of model 11
# (PPLA, 3 columns) going to the file $3.
criar_ini() {
  printf '[CONF]\r\nPATH MERKOR=%s\r\nPATH REDE=FILE:%s\r\nMODELO=PPLA\r\nMODELO PRINT=11 - PPLA 3 colunas 22x33\r\nTEMPERATURA=10\r\n' \
    "$2" "$3" | iconv -f UTF-8 -t CP1252 > "$1.tmp"
  mv "$1.tmp" "$1"
  echo "Configuração criada: $1 (etiquetas vão para $3)"
}

SERVIDOR=0
if [ "${1:-}" = "--servidor" ]; then
  SERVIDOR=1
  shift
fi

if [ ! -x "$BIN/etiquetas-cli" ]; then
  echo "build/bin/etiquetas-cli não existe: rode ./scripts/build.sh (ou ./run) e veja se a compilação terminou." >&2
  exit 1
fi

# Embedded Firebird in Classic mode: the program and etiquetas-cli can open the
# demo database at the same time.
FIREBIRD="$(scripts/firebird-raiz.sh "$BUILD/firebird")"
export FIREBIRD

# --servidor: the demo shop on a private Firebird server (scripts/servidor.sh),
# reached as "127.0.0.1/PORTA:/path", like a workstation reaches the shop's
# server. The program runs from a folder of its own (build/demo/servidor/bin)
# with its own configEtq.ini, so the embedded demo stays as it is.
if [ "$SERVIDOR" = 1 ]; then
  RAIZ_SERVIDOR="$BUILD/servidor"
  PASTA="$DEMO/servidor"
  BANCO="$PASTA/loja.fdb"
  SBIN="$PASTA/bin"
  mkdir -p "$SBIN"
  PORTA_ANTIGA="$(cat "$RAIZ_SERVIDOR/porta" 2>/dev/null || true)"
  PORTA=""
  if [ -n "$PORTA_ANTIGA" ]; then
    PORTA="$(scripts/servidor.sh iniciar "$RAIZ_SERVIDOR" --porta "$PORTA_ANTIGA" 2>/dev/null || true)"
  fi
  [ -n "$PORTA" ] || PORTA="$(scripts/servidor.sh iniciar "$RAIZ_SERVIDOR")"
  REMOTO="127.0.0.1/$PORTA:$BANCO"
  if [ ! -f "$BANCO" ]; then
    echo "Criando a loja de demonstração no servidor: $REMOTO ..."
    "$BIN/etiquetas-cli" demo-db "$REMOTO" --mercadorias 300 --semente 1
  fi
  # The programs read the configEtq.ini beside them: a second copy of them
  # (hard links, or copies) sits beside the server's configuration.
  for prog in etiquetas etiquetas-cli; do
    [ -x "$BIN/$prog" ] || continue
    ln -f "$BIN/$prog" "$SBIN/$prog" 2>/dev/null || cp -f "$BIN/$prog" "$SBIN/$prog"
  done
  INI="$SBIN/configEtq.ini"
  if [ ! -f "$INI" ]; then
    criar_ini "$INI" "$REMOTO" "$PASTA/saida.prn"
  elif ! grep -qF "PATH MERKOR=$REMOTO" "$INI"; then
    # Only a path to this demo server is brought to the server's new port.
    sed -i "s|^PATH MERKOR=127\.0\.0\.1/[0-9]*:$BANCO\r\?\$|PATH MERKOR=$REMOTO\r|" "$INI"
  fi
  echo "Servidor Firebird em 127.0.0.1:$PORTA (pare-o com: scripts/servidor.sh parar $RAIZ_SERVIDOR)"
  echo "Segunda estação na mesma loja: $SBIN/etiquetas-cli (ou outro $SBIN/etiquetas)"
  BIN="$SBIN"
fi

mkdir -p "$DEMO"
if [ "$SERVIDOR" = 0 ] && [ ! -f "$BANCO" ]; then
  echo "Criando a loja de demonstração em $BANCO ..."
  "$BIN/etiquetas-cli" demo-db "$BANCO" --mercadorias 300 --semente 1
fi

# The user's settings are never overwritten: written only when missing.
if [ "$SERVIDOR" = 0 ] && [ ! -f "$INI" ]; then
  criar_ini "$INI" "$BANCO" "$DEMO/saida.prn"
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
