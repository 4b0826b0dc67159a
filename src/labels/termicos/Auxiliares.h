#pragma once
// Pieces the thermal and shelf-edge tables share beyond the walk's own:
// more values to print, conditions on a value's length, and barcode choices
// written as a table of length ranges.
#include <functional>
#include <string>
#include <vector>

#include "labels/Percurso.h"

using TCondicao = std::function<bool(const TContextoEtiqueta&)>;

namespace fonte {
TFonte Aplicacao(int a = 1, int b = kSemLimite);   // APLICACAO a–b
TFonte Aplicacao2(int a = 1, int b = kSemLimite);  // APLICACAO2 a–b
TFonte Apelido(int a = 1, int b = kSemLimite);     // APE_CUP a–b
TFonte PrecoMercadoria2Simples();                  // goods VLR_VEN_2 "#0.00"
TFonte DataCadastro();                             // DATA_CAD in the short date form, "" when NULL
TFonte DataDoDia(const std::string& padrao = "");  // today: the short date form, or a FormataData pattern
TFonte DataDoDiaMaisGarantia();                    // today plus GARANTIA days, short date form
TFonte Unidade();                                  // UNI_MER abbreviated (troca_Unidade)
TFonte UltimosCaracteres(TFonte valor, int n);     // the last n characters (all when shorter)
}  // namespace fonte

// Cut to `largura` characters, or padded with blanks on the right (the
// shop texts take exactly the room their label gives them).
std::string Ajustado(const std::string& texto, int largura);

// True when the value's length in characters lies in de..ate.
TCondicao ComprimentoEntre(TFonte valor, int de, int ate);
TCondicao ComprimentoDiferente(TFonte valor, int n);
TCondicao NomeMaiorQue(int n);  // goods NOM_MER longer than n characters

// One barcode choice: for a value of de..ate characters, this type, place,
// height and digits. Empty widths keep the element's; `prefixo` goes in front
// of the encoded value (the shelf-edge models encode "0" + a short code).
struct TCasoBarras {
    int de, ate;
    std::string tipo;
    int h, v, altura;
    TCdbETQBarraExibeCodigo exibe;
    std::string larga = "", fina = "";
    std::string prefixo = "";
};
// The first case whose range holds the value's length wins; none: no barcode.
TRegra PorComprimento(std::vector<TCasoBarras> casos);
// The element's horizontal offset by the value's length: {de, ate, h}, first match.
struct TCasoPosicao {
    int de, ate, h;
};
TRegra PosicaoPorComprimento(TFonte valor, std::vector<TCasoPosicao> casos);
// The element with `regra` adapting it to the label.
TElemento ComRegra(TElemento e, TRegra regra);
// For aoAcharMercadoria: ADDCOLUNA put to 0 for every goods row found, so
// the configured shift never moves the model (27, 30).
void SemAddColuna(const TEscritaModelo& escrita, const TMercadoria&);

// The barcode of model 10, shared by models 31 and 43: a 13-character code
// as "F" with its digits at (50, 30); any other as "E" without digits at
// (50, 60), followed by the code as text at (80, 15). Height 70.
TElemento Barras10();
TElemento TextoCodigo10();

// The barcode of the Elgin shelf-edge models 19, 57 and 21, at vertical 60,
// height 90: 13 characters "F" at 120 with digits; longer than 8 "E" at 50;
// 4 to 8 "E" at 120; 3 or fewer "E" at 120 encoding "0" + the code. Every
// code but a 13-character one is also printed as text at (150, 5).
TElemento BarrasGondola();
TElemento TextoCodigoGondola();
