#include "labels/InfoModelos.h"

#include "common/Excecoes.h"
#include "common/UFuncoes.h"

namespace {

using T = TTipoModelo;

TInfoModelo M(const char* linha, T tipo, const char* linguagem, int porLinha, int passo, int larguraMm = 0,
              int alturaMm = 0) {
    TInfoModelo i;
    i.numero = (linha[0] - '0') * 10 + (linha[1] - '0');
    i.linha = linha;
    i.tipo = tipo;
    i.escritoPara = linguagem;
    i.porLinha = porLinha;
    i.passo = passo;
    i.larguraMm = larguraMm;
    i.alturaMm = alturaMm;
    return i;
}

}  // namespace

const std::vector<TInfoModelo>& InfoModelos() {
    static const std::vector<TInfoModelo> modelos = {
        M("01 - PPLB 3 colunas", T::Termico, "PPLB", 3, 370),
        M("02 - PPLA Gondola", T::Gondola, "PPLA", 1, 0),
        M("03 - PPLB 2 colunas", T::Termico, "PPLB", 2, 520),
        M("04 - EPL2 3 colunas", T::Termico, "EPL2", 3, 293),
        M("05 - PPLA 3 colunas", T::Termico, "PPLA", 3, 290),
        M("06 - PPLA 1 coluna", T::Termico, "PPLA", 1, 0),
        M("07 - EPL2 3 colunas", T::Termico, "EPL2", 3, 360),
        M("08 - PPLA 3 colunas", T::Termico, "PPLA", 3, 360),
        M("09 - Modelo Pre Configurado dentro do Merkor ( PPLA )", T::Formato, "PPLA", 0, 0),
        M("10 - PPLA 2 colunas", T::Termico, "PPLA", 2, 540),
        M("11 - PPLA 3 colunas 22x33", T::Termico, "PPLA", 3, 360, 33, 22),
        M("12 - PPLB Gondola", T::Gondola, "PPLB", 1, 0),
        M("13 - PPLA 1 coluna - Tag com furo", T::Termico, "PPLA", 1, 0),
        M("14 - EPL2 3 colunas", T::Termico, "EPL2", 3, 360),
        M("15 - PPLA 1 coluna - Tag com furo", T::Termico, "PPLA", 1, 0),
        M("16 - PPLA 3 colunas 22x33", T::Termico, "PPLA", 3, 360, 33, 22),
        M("17 - Elgin L42 3 colunas 22x33", T::Termico, "PPLA", 3, 340, 33, 22),
        M("18 - Elgin L42 3 colunas 22x33", T::Termico, "PPLA", 3, 340, 33, 22),
        M("19 - PPLA Elgin Gondola", T::Gondola, "PPLA", 1, 0),
        M("20 - A4 2 colunas", T::A4, "", 2, 0),
        M("21 - PPLA Elgin Gondola", T::Gondola, "PPLA", 1, 0),
        M("22 - PPLA 3 colunas 22x33", T::Termico, "PPLA", 3, 360, 33, 22),
        M("23 - PPLA Elgin 2 colunas", T::Termico, "PPLA", 2, 530),
        M("24 - PPLA Argox 2 colunas 30x50", T::Termico, "PPLA", 2, 540, 50, 30),
        M("25 - PPLA Argox 1 coluna", T::Termico, "PPLA", 1, 0),
        M("26 - A4 30 por folha", T::A4, "", 3, 0),
        M("27 - PPLA 3 colunas", T::Termico, "PPLA", 3, 320),
        M("28 - A4 65 por folha", T::A4, "", 5, 0),
        M("29 - PPLA 2 colunas - Tag com furo", T::Termico, "PPLA", 2, 555),
        M("30 - PPLA 3 colunas", T::Termico, "PPLA", 3, 330),
        M("31 - PPLA 2 colunas", T::Termico, "PPLA", 2, 540),
        M("32 - A4 Gondola", T::A4, "", 2, 0),
        M("33 - A4 80 por folha", T::A4, "", 4, 0),
        M("34 - A4 96 por folha", T::A4, "", 6, 0),
        M("35 - A4 65 por folha", T::A4, "", 5, 0),
        M("36 - EPL2 1 coluna - Tag com furo", T::Termico, "EPL2", 1, 0),
        M("37 - PPLA Argox Gondola", T::Gondola, "PPLA", 1, 0),
        M("38 - EPL2 3 colunas", T::Termico, "EPL2", 3, 320),
        M("39 - A4 126 por folha", T::A4, "", 7, 0),
        M("40 - PPLA 3 colunas 22 x 33", T::Termico, "PPLA", 3, 360, 33, 22),
        M("41 - PPLA Argox 1 coluna 13 mm", T::Termico, "PPLA", 1, 0, 0, 13),
        M("42 - A4 30 por folha", T::A4, "", 3, 0),
        M("43 - PPLA 2 colunas 50 x 30", T::Termico, "PPLA", 2, 540, 50, 30),
        M("44 - PPLA 1 coluna - Tag com furo", T::Termico, "PPLA", 1, 0),
        M("45 - PPLA 3 colunas 35 x 30", T::Termico, "PPLA", 3, 350, 35, 30),
        M("46 - PPLA 3 colunas 35 x 30 - so codigo de barras", T::Termico, "PPLA", 3, 350, 35, 30),
        M("47 - 2 colunas com parcelas", T::Termico, "PPLA", 2, 520),
        M("48 - PPLA 2 colunas 40 x 25", T::Termico, "PPLA", 2, 460, 40, 25),
        M("49 - PPLA Gondola com codigo reduzido", T::Gondola, "PPLA", 1, 0),
        M("50 - PPLA 1 coluna 4 x 4", T::Termico, "PPLA", 1, 0, 40, 40),
        M("51 - EPL2 1 coluna - Tag com furo", T::Termico, "EPL2", 1, 0),
        M("52 - PPLA Elgin L42 2 colunas", T::Termico, "PPLA", 2, 530),
        M("53 - PPLA Elgin L42 3 colunas", T::Termico, "PPLA", 3, 340),
        M("54 - PPLA Elgin L42 3 colunas - variante", T::Termico, "PPLA", 3, 340),
        M("55 - A4 65 por folha", T::A4, "", 5, 0),
        M("56 - PPLA Elgin 1 coluna 60 x 30", T::Termico, "PPLA", 1, 0, 60, 30),
        M("57 - PPLA Elgin Gondola - variante", T::Gondola, "PPLA", 1, 0),
        M("58 - ZPL 4 ou 3 colunas", T::Termico, "ZPL", 3, 325),
        M("59 - Elgin 1 coluna", T::Termico, "PPLA", 1, 0),
    };
    return modelos;
}

const TInfoModelo& InfoModelo(int numero) {
    if (numero < 1 || numero > static_cast<int>(InfoModelos().size()))
        throw Exception("Modelo " + ZerosEsquerda(numero, 2) + " não existe (os modelos vão de 01 a 59).");
    return InfoModelos()[static_cast<size_t>(numero - 1)];
}

const char* NomeTipoModelo(TTipoModelo tipo) {
    switch (tipo) {
        case TTipoModelo::Termico: return "térmica";
        case TTipoModelo::Gondola: return "gôndola";
        case TTipoModelo::Formato: return "formato do banco";
        case TTipoModelo::A4: return "folha A4";
    }
    return "";
}

std::string TamanhoModelo(const TInfoModelo& info) {
    std::string r;
    if (info.larguraMm > 0 && info.alturaMm > 0)
        r = std::to_string(info.larguraMm) + " x " + std::to_string(info.alturaMm) + " mm, ";
    else if (info.alturaMm > 0)
        r = std::to_string(info.alturaMm) + " mm de altura, ";
    if (info.porLinha == 0) return r + "etiquetas por linha conforme o formato do banco";
    r += std::to_string(info.porLinha) + " por linha";
    if (info.passo > 0) {
        // Tenths of a millimetre shown in millimetres, one decimal only when there is one.
        r += " (passo " + std::to_string(info.passo / 10);
        if (info.passo % 10) r += "," + std::to_string(info.passo % 10);
        r += " mm)";
    }
    return r;
}

std::string AvisoLinguagem(const TInfoModelo& info, const std::string& configurada) {
    if (info.tipo == TTipoModelo::A4 || info.escritoPara.empty()) return "";
    auto familia = [](const std::string& l) { return l == "PPLB" ? std::string("EPL2") : l; };
    if (familia(info.escritoPara) == familia(configurada)) return "";
    if (configurada.empty())
        return "Atenção: nenhuma linguagem de impressora marcada; o modelo foi escrito para " + info.escritoPara + ".";
    return "Atenção: o modelo foi escrito para " + info.escritoPara + " e a impressora está em " + configurada +
           "; confira a etiqueta antes de imprimir em quantidade.";
}
