#!/usr/bin/env bash
# The batch and the print through a delaying relay in front of a private
# Firebird server on the loopback, at 0, 1 and 20 ms a round trip:
#   bench/rede/bench_rede.sh [MERCADORIAS] [ETIQUETAS] [ATRASOS]
# (10000, 1000 and "0,1,20" by default). Needs a build (scripts/build.sh).
# Prints a line per delay and a table: times, and round trips per queue row
# and per label as the relay counted them.
set -euo pipefail
cd "$(dirname "$0")/../.."
BENCH="$(pwd)/build/bin/bench_rede"
[ -x "$BENCH" ] || { echo "Compile antes: scripts/build.sh" >&2; exit 1; }
T="$(mktemp -d /tmp/etiq-bench-rede.XXXXXX)"
parar() { scripts/servidor.sh parar "$T/raiz" >/dev/null 2>&1 || true; rm -rf "$T"; }
trap parar EXIT
FIREBIRD="$(scripts/firebird-raiz.sh build/firebird)"
export FIREBIRD
PORTA="$(scripts/servidor.sh iniciar "$T/raiz")"
"$BENCH" "$PORTA" "${1:-10000}" "${2:-1000}" "${3:-0,1,20}"
