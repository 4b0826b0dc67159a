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
# One label per model in each language, each through a new etiquetas-cli: the
# sanitizer's start and leak check per process make it pass its time limit,
# and the same bytes are checked by the normal build.
EXCLUIR="${SAN_EXCLUIR:-CmdImprimir.CadaModeloTermicoEmCadaLinguagem}"
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
