#!/usr/bin/env bash
# The package unpacked into a scratch root and run from there, with HOME and
# the XDG folders in a scratch folder and no FIREBIRD root set: the installed
# program finds the embedded engine and keeps configEtq.ini in the user's
# folder; a configEtq.ini placed beside it wins.
#   pacote-teste.sh BUILD VERSÃO
set -euo pipefail
BUILD=$1
VERSAO=$2
T=$(mktemp -d "${TMPDIR:-/tmp}/etiq-pacote-XXXXXX")
trap 'rm -rf "$T"' EXIT

falha() { echo "FALHOU: $*" >&2; exit 1; }
confere() {  # confere DESCRIÇÃO TEXTO ESPERADO
  case "$2" in *"$3"*) ;; *) falha "$1: esperava '$3' em:
$2" ;; esac
}

cpack --config "$BUILD/CPackConfig.cmake" -B "$T/pacote" >"$T/cpack.log" 2>&1 || { cat "$T/cpack.log"; falha "cpack"; }
DEB=$(ls "$T"/pacote/etiquetas_"$VERSAO"_*.deb)
confere "dependências do pacote" "$(dpkg-deb -f "$DEB" Depends)" "firebird3.0-server-core"
# The project's own people, no invented address or site.
MANTENEDOR=$(dpkg-deb -f "$DEB" Maintainer)
CONFIGURADO=$(sed -n 's/^ETIQ_MANTENEDOR:STRING=//p' "$BUILD/CMakeCache.txt")
[ "$MANTENEDOR" = "$CONFIGURADO" ] || falha "Maintainer '$MANTENEDOR' não é o configurado ('$CONFIGURADO')"
printf '%s\n' "$MANTENEDOR" | grep -qE '^[^<]+ <[^>@]+@[^>]+>$' || falha "Maintainer sem nome e email: $MANTENEDOR"
case "$(dpkg-deb -f "$DEB" Maintainer Homepage)" in *etiquetas.com.br*) falha "endereço inventado no pacote" ;; esac
# scripts/pacote.sh builds only the targets the package holds: none of them
# needs a test or a benchmark (and the package made from them is complete,
# as the checks below show).
ALVOS=$(sed -n 's/^ALVOS_PACOTE=(\(.*\))$/\1/p' "$(dirname "$0")/../../scripts/pacote.sh")
[ -n "$ALVOS" ] || falha "scripts/pacote.sh sem ALVOS_PACOTE"
if command -v ninja >/dev/null && [ -f "$BUILD/build.ninja" ]; then
  # shellcheck disable=SC2086
  ENTRADAS=$(ninja -C "$BUILD" -t inputs $ALVOS) || falha "alvos do pacote desconhecidos: $ALVOS"
  if printf '%s\n' "$ENTRADAS" | grep -E 'testes_|bench_|(^|/)tests/|(^|/)bench/'; then
    falha "os alvos do pacote constroem testes ou benchmarks"
  fi
fi
dpkg-deb -x "$DEB" "$T/raiz"
BIN="$T/raiz/usr/bin"
for f in usr/bin/etiquetas usr/share/etiquetas/CdbUSBID.ini usr/share/man/man1/etiquetas-cli.1.gz \
         usr/share/applications/br.com.etiquetas.Etiquetas.desktop \
         usr/share/metainfo/br.com.etiquetas.Etiquetas.metainfo.xml \
         usr/share/icons/hicolor/48x48/apps/br.com.etiquetas.Etiquetas.png \
         usr/share/icons/hicolor/scalable/apps/br.com.etiquetas.Etiquetas.svg \
         usr/share/doc/etiquetas/copyright; do
  [ -s "$T/raiz/$f" ] || falha "falta $f no pacote"
done

mkdir -p "$T/casa"
cli() {
  env -u FIREBIRD -u FIREBIRD_LOCK -u XDG_DATA_HOME HOME="$T/casa" XDG_CONFIG_HOME="$T/casa/.config" \
    XDG_RUNTIME_DIR="$T/run" "$BIN/etiquetas-cli" "$@"
}
mkdir -m 700 "$T/run"

confere "--version" "$(cli --version)" "etiquetas-cli $VERSAO"
confere "etiquetas --version" "$(env -u DISPLAY -u WAYLAND_DISPLAY "$BIN/etiquetas" --version)" "etiquetas $VERSAO"

USUARIO="$T/casa/.config/etiquetas/configEtq.ini"
confere "config sem arquivo" "$(cli config)" "Arquivo de configuração: $USUARIO"

cli demo-db "$T/loja.fdb" --mercadorias 20 >/dev/null
mkdir -p "$(dirname "$USUARIO")"
printf '[CONF]\r\nPATH MERKOR=%s\r\nPATH REDE=FILE:%s\r\nMODELO=PPLA\r\nMODELO PRINT=06 - PPLA 1 coluna\r\nSENHA BD=segredo\r\n' \
  "$T/loja.fdb" "$T/usuario.prn" > "$USUARIO"
CONFIG=$(cli config)
confere "config do usuário" "$CONFIG" "PATH REDE=FILE:$T/usuario.prn"
confere "senha mascarada" "$CONFIG" "SENHA BD=********"
case "$CONFIG" in *segredo*) falha "config mostrou a senha" ;; esac

cli lote --codigo 1 5 >/dev/null
cli fila --estoque >/dev/null
cli imprimir --sem-pausa >/dev/null
[ -s "$T/usuario.prn" ] || falha "imprimir não gravou na porta do configEtq.ini do usuário"

# Two programs on the same local shop at once (the engine in Classic mode in
# the user's runtime folder): a print that holds the database, with its pause
# after each job, while etiquetas-cli reads and changes the queue.
# A regular file is not paced: this print goes to a device node.
for codigo in 1 2 3 4 5; do cli fila --quantidade "$codigo" 3 >/dev/null; done
sed -i "s|^PATH REDE=FILE:$T/usuario.prn|PATH REDE=FILE:/dev/null|" "$USUARIO"
confere "porta da impressão longa" "$(cli config)" "PATH REDE=FILE:/dev/null"
cli imprimir >"$T/longa.log" 2>&1 &
LONGA=$!
sleep 1
kill -0 "$LONGA" 2>/dev/null || { cat "$T/longa.log"; falha "a impressão terminou cedo demais para o teste"; }
cli fila >"$T/fila.log" 2>&1 || { cat "$T/fila.log"; falha "etiquetas-cli não abriu a loja enquanto outro programa a usava"; }
cli fila --quantidade 1 2 >/dev/null 2>"$T/fila.log" || { cat "$T/fila.log"; falha "etiquetas-cli não gravou na fila aberta por outro programa"; }
wait "$LONGA" || { cat "$T/longa.log"; falha "a impressão longa falhou"; }
[ -f "$T/run/etiquetas-firebird/raiz/firebird.conf" ] || falha "raiz do Firebird não criada na pasta de execução"
confere "modo Classic" "$(cat "$T/run/etiquetas-firebird/raiz/firebird.conf")" "ServerMode = Classic"
confere "fluxo PPLA" "$(head -c 200 "$T/usuario.prn" | tr -d '\000-\010\016-\037')" "L"

# The same unpacked program with a configEtq.ini beside it: that file counts.
printf '[CONF]\r\nPATH MERKOR=%s\r\nPATH REDE=FILE:%s\r\nMODELO=PPLA\r\nMODELO PRINT=06 - PPLA 1 coluna\r\n' \
  "$T/loja.fdb" "$T/ao-lado.prn" > "$BIN/configEtq.ini"
confere "config ao lado" "$(cli config)" "Arquivo de configuração: $BIN/configEtq.ini"
cli imprimir --sem-pausa >/dev/null
[ -s "$T/ao-lado.prn" ] || falha "imprimir não usou o configEtq.ini ao lado do programa"
echo "pacote $(basename "$DEB"): ok"
