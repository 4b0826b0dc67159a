#!/usr/bin/env bash
# Builds the Debian package of the program: build/etiquetas_VERSÃO_amd64.deb
#   scripts/pacote.sh              build and package
#   scripts/pacote.sh --verificar  also lintian, desktop-file-validate and
#                                  appstreamcli (installed here when missing)
set -euo pipefail
cd "$(dirname "$0")/.."
VERIFICAR=0
[ "${1:-}" = "--verificar" ] && VERIFICAR=1

# Only what the package holds: the two programs, the icons and the
# compressed pages; the tests and benchmarks stay unbuilt (cpack installs
# what is built, it builds nothing itself).
ALVOS_PACOTE=(etiquetas etiquetas-cli etiq_icones etiq_comprimidos)
./scripts/build.sh "${ALVOS_PACOTE[@]}"
rm -f build/etiquetas_*.deb
cpack --config build/CPackConfig.cmake -B build/pacote >/dev/null
mv build/pacote/etiquetas_*.deb build/
DEB=$(ls build/etiquetas_*.deb)
echo "Pacote: $DEB"

if [ "$VERIFICAR" = 1 ]; then
  falta=()
  command -v lintian >/dev/null || falta+=(lintian)
  command -v desktop-file-validate >/dev/null || falta+=(desktop-file-utils)
  command -v appstreamcli >/dev/null || falta+=(appstream)
  if [ ${#falta[@]} -gt 0 ]; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${falta[@]}" >/dev/null
  fi
  desktop-file-validate pacote/br.com.etiquetas.Etiquetas.desktop
  appstreamcli validate --no-net build/pacote/br.com.etiquetas.Etiquetas.metainfo.xml
  # Errors fail the check; warnings are listed.
  lintian --no-tag-display-limit "$DEB" || true
  ! lintian "$DEB" 2>/dev/null | grep -q '^E:'
fi
