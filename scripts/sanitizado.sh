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
# A GoogleTest filter, for every test program.
EXCLUIR_PADRAO='-CmdImprimir.*:CmdImprimirRede.*:CmdImprimirA4.*:CmdFila.*:CmdLote.*:CmdTeste.*'
export GTEST_FILTER="${SAN_EXCLUIR:-$EXCLUIR_PADRAO}"
AREAS=(common data etq device goods labels previa)
LANCADOR=()
if command -v ccache >/dev/null 2>&1; then LANCADOR=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
# -O1 and line tables only: what the sanitizers' reports need, and a cold
# build in half the time of -O2 -g. Each test program runs as one process
# (ETIQ_TESTES_POR_PROGRAMA): its cases share the runtime's start and the
# leak scan at exit.
cmake -S . -B build-san -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DETIQ_SANITIZE=address,undefined \
  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG" "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG" \
  -DETIQ_TESTES_POR_PROGRAMA=ON -DETIQ_BUILD_GUI=OFF -DETIQ_BUILD_BENCH=OFF "${LANCADOR[@]}" >/dev/null
alvos=()
for a in "${AREAS[@]}"; do alvos+=("tests/$a/all"); done
cmake --build build-san -j"$(nproc)" --target "${alvos[@]}"

# intercept_tls_get_addr=0: this libasan misreads glibc 2.36's table of
# dynamic TLS blocks (a range such as 0x5a6-0x28000016a8), and the leak check
# at exit then crashes in its own tracer ("Tracer caught signal 11") in any
# test that loaded a library with thread-local storage by dlopen. Without the
# interceptor those blocks are not scanned; what only they point to would be
# reported as a leak, and none is.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:halt_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1:intercept_tls_get_addr=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$RAIZ/.ci/lsan.supp:print_suppressions=0"
# One ctest over every area (labels "area:<folder>"), so both cores stay busy
# to the end instead of waiting on each area's slowest program.
rotulos="^area:($(IFS='|'; echo "${AREAS[*]}"))\$"
ctest --test-dir build-san --output-on-failure --no-tests=error -j"${SAN_JOBS:-$(nproc)}" -L "$rotulos" "$@"
