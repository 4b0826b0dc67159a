#!/usr/bin/env bash
# The core test programs (common, data, etq, device, goods, labels, previa)
# built with AddressSanitizer and UndefinedBehaviorSanitizer in build-san/,
# and run: any report fails the run. The windows' tests are left to the
# normal build. Extra arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
RAIZ="$PWD"
# ccache hits from another clone of the tree (CI) too.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$RAIZ}" CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"
# Left to the normal build (SAN_EXCLUIR replaces the list): the suites whose
# every test starts etiquetas-cli copies as a script would, one or more per
# test (per label in some). Under the sanitizers each of those processes pays
# the runtime's start and a leak scan of the Firebird client at exit, several
# times the same test's time in the normal build; the commands' code they
# reach runs in-process in the other suites (the print walk, the queue, the
# batch, the drivers), and the normal build checks their exit codes and bytes.
#  - CmdImprimir, CmdImprimirRede: `imprimir` per model, language and port.
#  - CmdImprimirA4: `imprimir` to A4 sheets and PDF files.
#  - CmdFila: `fila`, one process per queue operation.
#  - CmdLote: `lote`, one process per batch and per refusal.
#  - CmdTeste: `teste`, one process per printer test.
EXCLUIR_PADRAO='^(CmdImprimir|CmdImprimirRede|CmdImprimirA4|CmdFila|CmdLote|CmdTeste)\.'
EXCLUIR="${SAN_EXCLUIR:-$EXCLUIR_PADRAO}"
AREAS=(common data etq device goods labels previa)
if [ ! -f build-san/CMakeCache.txt ]; then
  LANCADOR=()
  if command -v ccache >/dev/null 2>&1; then LANCADOR=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
  cmake -S . -B build-san -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DETIQ_SANITIZE=address,undefined \
    -DETIQ_BUILD_GUI=OFF -DETIQ_BUILD_BENCH=OFF "${LANCADOR[@]}"
fi
alvos=()
for a in "${AREAS[@]}"; do alvos+=("tests/$a/all"); done
cmake --build build-san -j"$(nproc)" --target "${alvos[@]}"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:halt_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$RAIZ/.ci/lsan.supp:print_suppressions=0"
falhou=0
for a in "${AREAS[@]}"; do
  echo "== testes sanitizados: $a"
  ctest --test-dir "build-san/tests/$a" --output-on-failure -j"$(nproc)" -E "$EXCLUIR" "$@" || falhou=1
done
exit $falhou
