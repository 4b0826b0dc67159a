# What the road scripts' drivers share: finding a window of the program by its
# title on the virtual screen and clicking in it. Sourced, not run.
janela() { xwininfo -root -tree | grep "\"$1\"" | awk '{print $1}' | head -1 || true; }
esperar() {  # a window by its title, for up to 15 s; ID is then the window
  for _ in $(seq 75); do ID=$(janela "$1"); [ -n "$ID" ] && return 0; sleep 0.2; done
  echo "a janela \"$1\" não apareceu" >&2; return 1
}
sumir() {
  for _ in $(seq 75); do [ -z "$(janela "$1")" ] && return 0; sleep 0.2; done
  echo "a janela \"$1\" não fechou" >&2; return 1
}
clicar() { xdotool mousemove --window "$ID" "$1" "$2" click 1; sleep 0.3; }
