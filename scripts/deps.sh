#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need.
# Checks with dpkg first, so a second run costs nothing.
set -euo pipefail
# Under CI (CI set, and not "false" or "0") a tool the tests need that cannot
# be had fails here, naming it, instead of letting its tests skip.
sob_ci() { [ -n "${CI:-}" ] && [ "$CI" != false ] && [ "$CI" != 0 ]; }

PACKAGES=(
  build-essential cmake ninja-build pkg-config ccache
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev libqt6printsupport6 qt6-qpa-plugins qt6-translations-l10n
  firebird-dev firebird3.0-server-core firebird3.0-utils libboost-dev
  libzint-dev libcups2-dev cups cups-client cups-bsd libudev-dev
  fonts-liberation xvfb xauth x11-utils xdotool socat locales
  poppler-utils zbar-tools nodejs
  clang libclang-rt-14-dev
  # Pinned: the tree is formatted by clang-format 14 (scripts/formato.sh
  # refuses any other), and tidy's findings are those of clang-tidy 14.
  clang-format-14 clang-tidy-14
)
if [ "${1:-}" = "--run" ]; then
  PACKAGES+=(imagemagick)
fi
# docs/capturas.sh drives the program on a virtual screen (xdotool is in the
# list above: a test drives the real program the same way).
if [ "${1:-}" = "--capturas" ]; then
  PACKAGES+=(imagemagick)
fi

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Instalando pacotes: ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  # cups pulls in services; policy-rc.d keeps them from starting during the install.
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# npm may come with nodejs itself (other nodejs builds ship it): only when the
# command is missing is the Debian package asked for.
if ! command -v npm >/dev/null 2>&1; then
  SUDO=""
  if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends npm || true
fi

# The independent ZPL renderer the preview tests compare against, pinned by
# its lock file. Without it (no network) those tests say why and skip.
ORACULO="$(dirname "$0")/../tests/previa/oraculo"
if command -v npm >/dev/null 2>&1 && [ ! -d "$ORACULO/node_modules/zpl-renderer-js" ]; then
  if ! (cd "$ORACULO" && npm ci --no-audit --no-fund --loglevel=error); then
    if sob_ci; then echo "deps: zpl-renderer-js (npm ci em tests/previa/oraculo) falhou" >&2; exit 1; fi
    echo "Aviso: zpl-renderer-js não instalado; os testes que o usam serão pulados."
  fi
fi
if sob_ci && ! command -v npm >/dev/null 2>&1; then echo "deps: falta npm (pacote npm)" >&2; exit 1; fi

# The private Firebird server of the server tests and of ./run --servidor:
# only its binary, taken from the Debian package without installing the
# package's service (scripts/servidor.sh obtains it; a second run is free).
if ! "$(dirname "$0")/servidor.sh" binario >/dev/null; then
  if sob_ci; then echo "deps: sem o binário do servidor Firebird (scripts/servidor.sh binario)" >&2; exit 1; fi
  echo "Aviso: sem o binário do servidor Firebird; os testes de servidor serão pulados." >&2
fi
