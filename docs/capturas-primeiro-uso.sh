#!/usr/bin/env bash
# Screenshot of the first-start window of the installed program: the package
# unpacked into a scratch root and started with an empty HOME on a virtual
# screen. Needs xvfb-run, xwininfo and import (scripts/deps.sh --capturas).
# Usage: docs/capturas-primeiro-uso.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")"
BUILD=$(realpath "${1:-../build}")
. ./capturas-comum.sh
exigir_programas xvfb-run xwininfo import cpack dpkg-deb
T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT
cpack --config "$BUILD/CPackConfig.cmake" -B "$T/pacote" >/dev/null
dpkg-deb -x "$T"/pacote/etiquetas_*.deb "$T/raiz"
mkdir -p "$T/casa"

cat > "$T/capturar.sh" <<FIM
set -e
env -u FIREBIRD HOME="$T/casa" XDG_CONFIG_HOME= XDG_DATA_HOME= "$T/raiz/usr/bin/etiquetas" &
PID=\$!
sleep 4
ID=\$(xwininfo -root -tree | grep '"Etiquetas de codigo de barras"' | awk '{print \$1}' | head -1)
import -window "\$ID" "$PWD/janela-primeiro-uso.png"
kill \$PID
FIM
xvfb-run -a -s "-screen 0 1024x768x24" bash "$T/capturar.sh"
echo "$PWD/janela-primeiro-uso.png"
