#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each for a
# bounded time (FUZZ_SEGUNDOS, 10 by default) from the seeds in the tree:
# fuzz/corpus/<alvo> and the golden streams for the stream readers. A crash
# leaves its input in build-fuzz/achados/ (make it a regular test case) and
# fails the run. `scripts/fuzz.sh fuzz_leitor_zpl` runs one target.
# `--guardar` then merges what the run found into fuzz/corpus/<alvo> (only
# inputs that reach new code), to be committed: the corpus in the tree grows.
set -euo pipefail
cd "$(dirname "$0")/.."
RAIZ="$PWD"
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$RAIZ}" CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"
SEGUNDOS="${FUZZ_SEGUNDOS:-10}"
ALVOS=(fuzz_leitor_ppla fuzz_leitor_epl2 fuzz_leitor_zpl fuzz_config fuzz_porta fuzz_numero
       fuzz_status_zpl fuzz_leiaute09 fuzz_lote)
guardar=0
if [ "${1:-}" = "--guardar" ]; then guardar=1; shift; fi
if [ $# -gt 0 ]; then ALVOS=("$@"); fi

if [ ! -f build-fuzz/CMakeCache.txt ]; then
  LANCADOR=()
  if command -v ccache >/dev/null 2>&1; then LANCADOR=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
  CXX=clang++ CC=clang cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DETIQ_SANITIZE=address,undefined,fuzzer-no-link -DETIQ_FUZZ=ON -DETIQ_BUILD_GUI=OFF \
    -DETIQ_BUILD_TESTS=OFF -DETIQ_BUILD_BENCH=OFF "${LANCADOR[@]}"
fi
cmake --build build-fuzz -j"$(nproc)" --target "${ALVOS[@]}"

export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$RAIZ/.ci/lsan.supp:print_suppressions=0"
mkdir -p build-fuzz/achados
falhou=0
for alvo in "${ALVOS[@]}"; do
  sementes=()
  [ -d "fuzz/corpus/${alvo#fuzz_}" ] && sementes+=("fuzz/corpus/${alvo#fuzz_}")
  case "$alvo" in fuzz_leitor_*) sementes+=(tests/labels/ouro/modelos tests/labels/ouro) ;; esac
  # New inputs go to a scratch corpus; the seeds in the tree are only read.
  corpus="build-fuzz/corpus/$alvo"
  mkdir -p "$corpus"
  echo "== $alvo: ${SEGUNDOS} s"
  if ! "build-fuzz/bin/$alvo" -max_total_time="$SEGUNDOS" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="build-fuzz/achados/$alvo-" "$corpus" "${sementes[@]}" 2>"build-fuzz/$alvo.log"; then
    tail -n 60 "build-fuzz/$alvo.log"
    echo "FALHA: $alvo (entrada em build-fuzz/achados/)"
    falhou=1
  else
    grep -E "^stat::number_of_executed_units|^stat::new_units_added" "build-fuzz/$alvo.log" | tr '\n' ' '
    echo
    if [ $guardar = 1 ]; then
      mkdir -p "fuzz/corpus/${alvo#fuzz_}"
      "build-fuzz/bin/$alvo" -merge=1 "fuzz/corpus/${alvo#fuzz_}" "$corpus" 2>>"build-fuzz/$alvo.log"
      echo "   fuzz/corpus/${alvo#fuzz_}: $(find "fuzz/corpus/${alvo#fuzz_}" -type f | wc -l) entradas"
    fi
  fi
done
exit $falhou
