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
