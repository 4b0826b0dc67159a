# What the road scripts share before they drive the program. Sourced, not run.

# The tools of the virtual screen: without them the script is skipped (exit
# 77), except under CI, where every tool is installed and a skip would be a
# check that did not run.
exigir_tela_virtual() {
  local t
  for t in xvfb-run xdotool xwininfo; do
    command -v "$t" >/dev/null && continue
    if [ -n "${CI:-}" ] && [ "$CI" != false ] && [ "$CI" != 0 ]; then echo "sem $t: sob CI é uma falha" >&2; exit 1; fi
    echo "sem $t: teste pulado"; exit 77
  done
}

# A scratch folder PASTA beside the programs in BIN (a /tmp mounted noexec
# would not run them): janela/ with etiquetas and etiquetas-cli, cli/ with
# etiquetas-cli, each to get its own configEtq.ini. Removed on exit; a caller
# with more to clean sets its own trap, which removes PASTA too.
copiar_programas() {  # NAME
  PASTA=$(mktemp -d -p "$(dirname "$BIN")" "$1.XXXXXX")
  trap 'rm -rf "$PASTA"' EXIT
  mkdir -p "$PASTA/janela" "$PASTA/cli"
  cp "$BIN/etiquetas" "$BIN/etiquetas-cli" "$PASTA/janela/"
  cp "$BIN/etiquetas-cli" "$PASTA/cli/"
}
