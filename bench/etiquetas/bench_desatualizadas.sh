#!/usr/bin/env bash
# Stale labels over a large shop on a private Firebird server on the loopback,
# directly and through the delaying relay:
#   bench/etiquetas/bench_desatualizadas.sh [MERCADORIAS] [LINHAS] [ATRASO_MS]
# (1000000, 5000000 and 20 by default). Without a server:
#   build/bin/bench_desatualizadas MERCADORIAS LINHAS
set -euo pipefail
cd "$(dirname "$0")/../.."
BENCH="$(pwd)/build/bin/bench_desatualizadas"
[ -x "$BENCH" ] || { echo "Compile antes: cmake --build build --target bench_desatualizadas" >&2; exit 1; }
T="$(mktemp -d /tmp/etiq-bench-desat.XXXXXX)"
parar() { scripts/servidor.sh parar "$T/raiz" >/dev/null 2>&1 || true; rm -rf "$T"; }
trap parar EXIT
FIREBIRD="$(scripts/firebird-raiz.sh build/firebird)"
export FIREBIRD
PORTA="$(scripts/servidor.sh iniciar "$T/raiz")"
"$BENCH" "${1:-1000000}" "${2:-5000000}" "$PORTA" "${3:-20}"
