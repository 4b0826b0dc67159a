#!/usr/bin/env bash
# Prepares a private Firebird root in which the embedded engine runs in
# Classic mode, so several processes (the program and etiquetas-cli) can open
# the same database file at once. Prints the folder to use as FIREBIRD.
#   scripts/firebird-raiz.sh [PASTA]   (default: build/firebird)
# Idempotent: an existing root is left as it is, except for missing pieces.
set -euo pipefail
cd "$(dirname "$0")/.."
RAIZ="${1:-build/firebird}"

# Debian keeps the engine under lib and the configuration under /etc.
LIB=""
for d in /usr/lib/x86_64-linux-gnu/firebird/3.0 /usr/lib/aarch64-linux-gnu/firebird/3.0 /usr/lib/firebird/3.0; do
  if [ -d "$d/plugins" ]; then LIB="$d"; break; fi
done
if [ -z "$LIB" ]; then
  echo "Firebird 3 não encontrado (pacote firebird3.0-server-core). Rode scripts/deps.sh." >&2
  exit 1
fi
ETC=/etc/firebird/3.0

mkdir -p "$RAIZ"
RAIZ="$(cd "$RAIZ" && pwd)"

# The engine reads intl/fbintl.conf relative to its root: a real copy, not the
# Debian link back into /etc.
if [ ! -f "$RAIZ/intl/fbintl.conf" ]; then
  rm -rf "$RAIZ/intl"
  mkdir -p "$RAIZ/intl"
  cp -L "$LIB"/intl/* "$RAIZ/intl/"
fi
for item in firebird.msg plugins UDF; do
  [ -e "$RAIZ/$item" ] || ln -s "$LIB/$item" "$RAIZ/$item"
done
[ -e "$RAIZ/plugins.conf" ] || ln -s "$(readlink -f "$LIB/plugins.conf" 2>/dev/null || echo "$ETC/plugins.conf")" "$RAIZ/plugins.conf"

if [ ! -f "$RAIZ/firebird.conf" ]; then
  cat > "$RAIZ/firebird.conf" <<'CONF'
# Private root for the demo: embedded engine in Classic mode, so the program
# and etiquetas-cli can work on the same database at the same time.
ServerMode = Classic
UdfAccess = None
RemoteBindAddress = localhost
CONF
fi
echo "$RAIZ"
