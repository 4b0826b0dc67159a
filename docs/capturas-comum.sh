# Sourced by the docs/capturas*.sh scripts (not run on its own).

# Stops the script when a program it needs is missing.
exigir_programas() {
  for t in "$@"; do
    command -v "$t" >/dev/null || { echo "falta o programa $t" >&2; exit 1; }
  done
}

# Password of the day: DD, DD+MM, MM, DD+MM+AA, AA (two digits each).
senha() {
  local d m a
  d=$(date +%d); m=$(date +%m); a=$(date +%y)
  printf '%s%02d%s%02d%s' "$d" $(( (10#$d + 10#$m) % 100 )) "$m" $(( (10#$d + 10#$m + 10#$a) % 100 )) "$a"
}

# A scratch folder PASTA, removed on exit, with copies of the programs named
# (they read configEtq.ini beside themselves): copias_em_pasta ETIQUETAS [CLI].
copias_em_pasta() {
  PASTA=$(mktemp -d)
  trap 'rm -rf "$PASTA"' EXIT
  cp "$1" "$PASTA/etiquetas"
  if [ -n "${2:-}" ]; then cp "$2" "$PASTA/etiquetas-cli"; fi
}

# Lines for a capture script: start the program, find its main window (ID),
# open the configuration panel with the password of the day.
abrir_painel() {
  cat <<FIM
"$PASTA/etiquetas" &
PID=\$!
sleep 3
ID=\$(xwininfo -root -tree | grep '"Etiquetas de codigo de barras"' | awk '{print \$1}' | head -1)
# btnConfig, then the password of the day
xdotool mousemove --window "\$ID" 478 30 click 1
sleep 2
xdotool type --delay 50 "$(senha)"
xdotool key Return
FIM
}
