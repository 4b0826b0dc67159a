#!/usr/bin/env bash
# Stale labels over a large shop, embedded, then on a private Firebird server
# on the loopback, directly and through the delaying relay:
#   bench/etiquetas/bench_desatualizadas.sh [MERCADORIAS] [LINHAS] [ATRASO_MS] [PASTA]
# (1000000, 5000000, 20 and /tmp/etiq-desatualizadas-MERCADORIAS-LINHAS by
# default). The shop is built once in PASTA (minutes for 1,000,000 goods) and
# measured again on later runs; remove PASTA to build it anew.
set -euo pipefail
cd "$(dirname "$0")/../.."
BENCH="$(pwd)/build/bin/bench_desatualizadas"
[ -x "$BENCH" ] || { echo "Compile antes: cmake --build build --target bench_desatualizadas" >&2; exit 1; }
M="${1:-1000000}" L="${2:-5000000}" ATRASO="${3:-20}"
PASTA="${4:-/tmp/etiq-desatualizadas-$M-$L}"
"$BENCH" "$M" "$L" 0 "$ATRASO" "$PASTA"
T="$(mktemp -d /tmp/etiq-bench-desat.XXXXXX)"
parar() { scripts/servidor.sh parar "$T/raiz" >/dev/null 2>&1 || true; rm -rf "$T"; }
trap parar EXIT
FIREBIRD="$(scripts/firebird-raiz.sh build/firebird)"
export FIREBIRD
PORTA="$(scripts/servidor.sh iniciar "$T/raiz")"
"$BENCH" "$M" "$L" "$PORTA" "$ATRASO" "$PASTA"
