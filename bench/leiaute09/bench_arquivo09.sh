#!/usr/bin/env bash
# Time and peak memory of `etiquetas-cli formato importar` refusing design
# files an adversary or an accident makes: 100,000 identical fields (6 MB),
# 40,000 small fields within the 1 MB a design file may have, a 100 MB free
# text, /dev/zero. Each runs against a demo shop whose design must stay as it
# was; the table shows the wall time, the peak resident memory, the exit status
# and the bytes written to standard error, with the load average beside it
# (the machine may be shared).
#   bench/leiaute09/bench_arquivo09.sh
set -euo pipefail
cd "$(dirname "$0")/../.."
CLI="$(pwd)/build/bin/etiquetas-cli"
[ -x "$CLI" ] || { echo "Compile antes: scripts/build.sh" >&2; exit 1; }
FIREBIRD="$(scripts/firebird-raiz.sh build/firebird)"
export FIREBIRD
T="$(mktemp -d /tmp/etiq-bench-arquivo09.XXXXXX)"
trap 'rm -rf "$T"' EXIT
mkdir -p "$T/bin"
cp "$CLI" "$T/bin/"   # configEtq.ini is read beside the program
"$T/bin/etiquetas-cli" demo-db "$T/loja.fdb" --mercadorias 10 >/dev/null
printf '[CONF]\r\nPATH MERKOR=%s\r\nMODELO=PPLA\r\n' "$T/loja.fdb" > "$T/bin/configEtq.ini"
printf '[etiqueta]\npor_linha = 3\npasso_mm = 34\n[campo]\nimprime = NOME\ntamanho = 20\n' > "$T/bom.ini"
"$T/bin/etiquetas-cli" formato importar "$T/bom.ini" --substituir >/dev/null

campo='[campo]\nimprime = NOME\ntamanho = 20\nfonte = 2\nvertical_mm = 2\nhorizontal_mm = 1\n'
{ printf '[etiqueta]\npor_linha = 3\npasso_mm = 34\n'; for _ in $(seq 100000); do printf "$campo"; done; } > "$T/cem-mil.ini"
{ printf '[etiqueta]\npor_linha = 3\npasso_mm = 34\n'; for _ in $(seq 40000); do printf '[campo]\nimprime=NOME\n'; done; } > "$T/quarenta-mil.ini"
{ printf '[etiqueta]\n[campo]\nimprime = TEXTO LIVRE\ntexto = '; head -c 100000000 /dev/zero | tr '\0' x; printf '\n'; } > "$T/texto-100mb.ini"

echo "| arquivo | tamanho | tempo | pico de memória | saída | bytes no erro | carga |"
echo "|---|---|---|---|---|---|---|"
for f in "$T/cem-mil.ini" "$T/quarenta-mil.ini" "$T/texto-100mb.ini" /dev/zero; do
  set +e
  /usr/bin/time -v -o "$T/time" "$T/bin/etiquetas-cli" formato importar "$f" --substituir >/dev/null 2>"$T/erro"
  rc=$?
  set -e
  tempo="$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$T/time")"
  pico="$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$T/time")"
  tamanho="$( [ -f "$f" ] && stat -c %s "$f" || echo '-' )"
  echo "| $(basename "$f") | $tamanho | $tempo | ${pico} KB | $rc | $(stat -c %s "$T/erro") | $(cut -d' ' -f1 /proc/loadavg) |"
done
# The design is still the one imported first.
"$T/bin/etiquetas-cli" formato exportar "$T/depois.ini" >/dev/null
grep -c '^\[campo\]' "$T/depois.ini" | sed 's/^/campos na tabela depois: /'
