#!/usr/bin/env bash
# A private Firebird 3 server for the tests and the demo, listening only on
# 127.0.0.1. Everything it uses lives in its own folder: firebird.conf,
# security3.fdb, lock and temporary files, pid and port. Nothing of the
# system's Firebird installation is started or changed; only the server
# binary is taken from the Debian package (extracted, not installed).
#
#   scripts/servidor.sh iniciar PASTA [--porta N] [--senha S]
#       starts the server (or finds it running) and prints its port
#   scripts/servidor.sh parar PASTA      stops it by its process id
#   scripts/servidor.sh estado PASTA     prints the port when it answers
#   scripts/servidor.sh binario          prints the server binary (obtained when missing)
#
# The SYSDBA password defaults to the program's own (pinewoods). Exit status:
# 0 done, 1 failure, 3 the server binary cannot be had on this machine.
set -euo pipefail
cd "$(dirname "$0")/.."
PROJETO="$(pwd)"
case "${ETIQ_BUILD:-build}" in        # ETIQ_BUILD: another build folder
  /*) BUILD="$ETIQ_BUILD" ;;
  *) BUILD="$PROJETO/${ETIQ_BUILD:-build}" ;;
esac
PACOTE="$BUILD/servidor-fb"   # the extracted package lives here
SENHA_PADRAO=pinewoods

falha() { echo "servidor.sh: $*" >&2; exit 1; }

# The server binary: the system's when the package is installed (only the
# binary is run, never its service), otherwise extracted from the package of
# the same version as the installed engine.
binario() {
  if [ -n "${ETIQ_FIREBIRD_SERVIDOR:-}" ]; then
    [ -x "$ETIQ_FIREBIRD_SERVIDOR" ] || { echo "ETIQ_FIREBIRD_SERVIDOR não é executável: $ETIQ_FIREBIRD_SERVIDOR" >&2; return 3; }
    echo "$ETIQ_FIREBIRD_SERVIDOR"; return 0
  fi
  if [ -x /usr/sbin/firebird ]; then echo /usr/sbin/firebird; return 0; fi
  local bin="$PACOTE/pacote/usr/sbin/firebird"
  if [ -x "$bin" ]; then echo "$bin"; return 0; fi
  local versao
  versao="$(dpkg-query -W -f='${Version}' firebird3.0-server-core 2>/dev/null || true)"
  if [ -z "$versao" ]; then
    echo "O motor Firebird 3 (firebird3.0-server-core) não está instalado: rode scripts/deps.sh." >&2
    return 3
  fi
  mkdir -p "$PACOTE"
  (
    # Several tests may ask at once: one download, the others wait for it.
    flock 9
    [ -x "$bin" ] && exit 0
    local tmp
    tmp="$(mktemp -d "$PACOTE/baixando.XXXXXX")"
    trap 'rm -rf "$tmp"' EXIT
    cd "$tmp"
    if ! apt-get download -q "firebird3.0-server=$versao" >/dev/null 2>&1; then
      # The package lists may be missing or old on a fresh machine.
      if [ "$(id -u)" = 0 ]; then apt-get update -qq >/dev/null 2>&1 || true; fi
      apt-get download -q "firebird3.0-server=$versao" >/dev/null 2>&1 || {
        echo "Não foi possível obter o pacote firebird3.0-server $versao (apt-get download)." >&2
        exit 3
      }
    fi
    dpkg-deb -x firebird3.0-server_*.deb extraido
    rm -rf "$PACOTE/pacote"
    mv extraido "$PACOTE/pacote"
  ) 9>"$PACOTE/.trava" || return $?
  [ -x "$bin" ] || { echo "O pacote firebird3.0-server não trouxe usr/sbin/firebird." >&2; return 3; }
  echo "$bin"
}

# True when port $1 of 127.0.0.1 (or of any address) is being listened on.
porta_ocupada() {
  local hex
  hex="$(printf ':%04X ' "$1")"
  awk -v p="$hex" 'NR > 1 && $4 == "0A" && index($2, p) { achou = 1 } END { exit !achou }' /proc/net/tcp /proc/net/tcp6 2>/dev/null
}

porta_livre() {
  local p i
  for i in $(seq 1 50); do
    p=$(( 20000 + (RANDOM * 32768 + RANDOM) % 40000 ))
    porta_ocupada "$p" || { echo "$p"; return 0; }
  done
  falha "nenhuma porta livre encontrada"
}

# The pid of this folder's server when it runs: the pid file names a live
# process started with this folder as its root (a recycled pid is not ours).
pid_vivo() {
  local raiz="$1" pid
  [ -f "$raiz/servidor.pid" ] || return 1
  pid="$(cat "$raiz/servidor.pid")"
  [ -n "$pid" ] && [ -d "/proc/$pid" ] || return 1
  tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "FIREBIRD=$raiz" || return 1
  echo "$pid"
}

# Whether the server on port $2 takes a login and is the one rooted at $1
# (another server may hold the port; ours then keeps retrying the bind).
responde() {
  local raiz="$1" porta="$2" senha="$3" saida
  saida="$(FIREBIRD="$raiz" timeout 3 fbsvcmgr "127.0.0.1/$porta:service_mgr" -user SYSDBA -password "$senha" -info_get_env 2>&1)" || return 1
  grep -qxF "Server root: $raiz/" <<<"$saida"
}

escrever_conf() {
  local raiz="$1" porta="$2"
  cat > "$raiz/firebird.conf" <<CONF
# Private server for tests and the demo (scripts/servidor.sh): loopback only,
# its own users, locks and temporary files.
ServerMode = Super
RemoteServicePort = $porta
RemoteBindAddress = 127.0.0.1
SecurityDatabase = $raiz/security3.fdb
AuthServer = Srp
UserManager = Srp
WireCrypt = Enabled
TempDirectories = $raiz/tmp
UdfAccess = None
CONF
}

iniciar() {
  local raiz="" porta="" senha="$SENHA_PADRAO"
  while [ $# -gt 0 ]; do
    case "$1" in
      --porta) porta="${2:?--porta sem valor}"; shift 2 ;;
      --senha) senha="${2:?--senha sem valor}"; shift 2 ;;
      -*) falha "opção desconhecida: $1" ;;
      *) [ -z "$raiz" ] || falha "uma pasta só"; raiz="$1"; shift ;;
    esac
  done
  [ -n "$raiz" ] || falha "uso: servidor.sh iniciar PASTA [--porta N] [--senha S]"
  if [ -n "$porta" ] && ! [[ "$porta" =~ ^[0-9]+$ && "$porta" -ge 1 && "$porta" -le 65535 ]]; then
    falha "--porta: use um número de 1 a 65535"
  fi
  local bin rc=0
  bin="$(binario)" || rc=$?
  [ $rc = 0 ] || exit "$rc"

  mkdir -p "$raiz"
  raiz="$(cd "$raiz" && pwd)"
  mkdir -p "$raiz/lock" "$raiz/tmp"

  local pid
  if pid="$(pid_vivo "$raiz")"; then
    local atual
    atual="$(cat "$raiz/porta" 2>/dev/null || true)"
    if [ -n "$atual" ] && { [ -z "$porta" ] || [ "$porta" = "$atual" ]; } && responde "$raiz" "$atual" "$senha"; then
      echo "$atual"; return 0
    fi
    falha "já há um servidor desta pasta rodando (pid $pid); pare-o antes: scripts/servidor.sh parar $raiz"
  fi

  if [ -n "$porta" ] && porta_ocupada "$porta"; then falha "a porta $porta já está em uso"; fi
  local fixa="$porta" tentativa
  for tentativa in 1 2 3 4 5; do
    [ -n "$fixa" ] || porta="$(porta_livre)"
    escrever_conf "$raiz" "$porta"
    # The engine's plugins, messages and character sets, linked into the root.
    "$PROJETO/scripts/firebird-raiz.sh" "$raiz" >/dev/null
    if [ ! -f "$raiz/security3.fdb" ]; then
      # Made with the embedded engine on this root, before the server runs.
      printf "create database '%s/security3.fdb';\ncreate user SYSDBA password '%s' using plugin Srp;\ncommit;\n" \
        "$raiz" "${senha//\'/\'\'}" |
        FIREBIRD="$raiz" FIREBIRD_LOCK="$raiz/lock" FIREBIRD_TMP="$raiz/tmp" isql-fb -q -user SYSDBA >"$raiz/seguranca.log" 2>&1 ||
        { rm -f "$raiz/security3.fdb"; falha "não foi possível criar $raiz/security3.fdb (veja $raiz/seguranca.log)"; }
    fi
    (
      cd "$raiz"
      export FIREBIRD="$raiz" FIREBIRD_LOCK="$raiz/lock" FIREBIRD_TMP="$raiz/tmp"
      exec setsid "$bin" </dev/null >>"$raiz/servidor.log" 2>&1
    ) &
    pid=$!
    echo "$pid" > "$raiz/servidor.pid"
    echo "$porta" > "$raiz/porta"
    local i
    for i in $(seq 1 100); do
      if ! kill -0 "$pid" 2>/dev/null; then
        rm -f "$raiz/servidor.pid"
        falha "o servidor terminou ao iniciar (veja $raiz/servidor.log)"
      fi
      if responde "$raiz" "$porta" "$senha"; then echo "$porta"; return 0; fi
      sleep 0.1
    done
    # Someone else answers on the port, or nobody at all: try another one.
    parar "$raiz" >/dev/null
    [ -z "$fixa" ] || falha "o servidor não respondeu na porta $fixa em 10 s (porta ocupada por outro programa?)"
  done
  falha "o servidor não respondeu em nenhuma das portas tentadas"
}

parar() {
  local raiz="${1:?uso: servidor.sh parar PASTA}" pid i
  [ -d "$raiz" ] || { echo "Pasta $raiz não existe: nada a parar."; return 0; }
  raiz="$(cd "$raiz" && pwd)"
  if ! pid="$(pid_vivo "$raiz")"; then
    rm -f "$raiz/servidor.pid"
    echo "Nenhum servidor rodando em $raiz."
    return 0
  fi
  kill -CONT "$pid" 2>/dev/null || true   # a stopped server cannot take SIGTERM
  kill -TERM "$pid" 2>/dev/null || true
  for i in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then kill -KILL "$pid" 2>/dev/null || true; fi
  rm -f "$raiz/servidor.pid"
  echo "Servidor de $raiz parado (pid $pid)."
}

estado() {
  local raiz="${1:?uso: servidor.sh estado PASTA}" pid porta
  raiz="$(cd "$raiz" 2>/dev/null && pwd)" || { echo "Parado."; return 1; }
  if pid="$(pid_vivo "$raiz")"; then
    porta="$(cat "$raiz/porta" 2>/dev/null || true)"
    echo "$porta"
    return 0
  fi
  echo "Parado." >&2
  return 1
}

comando="${1:-}"
[ $# -gt 0 ] && shift
case "$comando" in
  iniciar) iniciar "$@" ;;
  parar) parar "$@" ;;
  estado) estado "$@" ;;
  binario) binario ;;
  *) echo "uso: scripts/servidor.sh iniciar PASTA [--porta N] [--senha S] | parar PASTA | estado PASTA | binario" >&2; exit 2 ;;
esac
