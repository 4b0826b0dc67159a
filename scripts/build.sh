#!/usr/bin/env bash
# Out-of-tree build into build/ (idempotent: a second run only rebuilds what changed).
#   scripts/build.sh [TARGET...]   (default: everything)
set -euo pipefail
cd "$(dirname "$0")/.."
OPCOES=()
# ccache when there is one, with hits from another clone of the tree (CI) too.
if command -v ccache >/dev/null 2>&1; then
  OPCOES+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}" CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"
fi
# Under CI warnings are errors.
if [ -n "${CI:-}" ] && [ "$CI" != false ] && [ "$CI" != 0 ]; then OPCOES+=(-DETIQ_WERROR=ON); fi
if [ ! -f build/CMakeCache.txt ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${OPCOES[@]}"
else
  cmake -S . -B build "${OPCOES[@]}" >/dev/null
fi
# Targets named on the command line, or everything.
ALVOS=()
for alvo in "$@"; do ALVOS+=(--target "$alvo"); done
cmake --build build -j"$(nproc)" "${ALVOS[@]}"
