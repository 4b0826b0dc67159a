// Draws a ZPL stream with an independent renderer: desenhar.cjs IN.zpl OUT.png WIDTH_MM HEIGHT_MM
const fs = require("fs");
const { ready } = require("zpl-renderer-js");
(async () => {
  const [entrada, saida, largura, altura] = process.argv.slice(2);
  const { api } = await ready;
  const png = await api.zplToBase64Async(fs.readFileSync(entrada, "latin1"), Number(largura), Number(altura), 8);
  fs.writeFileSync(saida, Buffer.from(png, "base64"));
  process.exit(0);
})().catch((e) => {
  console.error(e);
  process.exit(1);
});
