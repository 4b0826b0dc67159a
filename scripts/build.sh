#!/usr/bin/env bash
# Out-of-tree build into build/ (idempotent: a second run only rebuilds what changed).
set -euo pipefail
cd "$(dirname "$0")/.."
OPCOES=()
# Under CI warnings are errors.
if [ -n "${CI:-}" ] && [ "$CI" != false ] && [ "$CI" != 0 ]; then OPCOES+=(-DETIQ_WERROR=ON); fi
if [ ! -f build/CMakeCache.txt ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${OPCOES[@]}"
elif [ ${#OPCOES[@]} -gt 0 ]; then
  cmake -S . -B build "${OPCOES[@]}" >/dev/null
fi
cmake --build build -j"$(nproc)"
