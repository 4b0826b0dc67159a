#include "labels/InfoModelos.h"

#include "common/Excecoes.h"
#include "common/UFuncoes.h"

namespace {

using Tipo = TTipoModelo;

TInfoModelo Modelo(const char* linha, Tipo tipo, const char* linguagem, int porLinha, int passo, int larguraMm = 0,
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
        Modelo("01 - PPLB 3 colunas", Tipo::Termico, "PPLB", 3, 370),
        Modelo("02 - PPLA Gondola", Tipo::Gondola, "PPLA", 1, 0),
        Modelo("03 - PPLB 2 colunas", Tipo::Termico, "PPLB", 2, 520),
        Modelo("04 - EPL2 3 colunas", Tipo::Termico, "EPL2", 3, 293),
        Modelo("05 - PPLA 3 colunas", Tipo::Termico, "PPLA", 3, 290),
        Modelo("06 - PPLA 1 coluna", Tipo::Termico, "PPLA", 1, 0),
        Modelo("07 - EPL2 3 colunas", Tipo::Termico, "EPL2", 3, 360),
        Modelo("08 - PPLA 3 colunas", Tipo::Termico, "PPLA", 3, 360),
        Modelo("09 - Modelo Pre Configurado dentro do Merkor ( PPLA )", Tipo::Formato, "PPLA", 0, 0),
        Modelo("10 - PPLA 2 colunas", Tipo::Termico, "PPLA", 2, 540),
        Modelo("11 - PPLA 3 colunas 22x33", Tipo::Termico, "PPLA", 3, 360, 33, 22),
        Modelo("12 - PPLB Gondola", Tipo::Gondola, "PPLB", 1, 0),
        Modelo("13 - PPLA 1 coluna - Tag com furo", Tipo::Termico, "PPLA", 1, 0),
        Modelo("14 - EPL2 3 colunas", Tipo::Termico, "EPL2", 3, 360),
        Modelo("15 - PPLA 1 coluna - Tag com furo", Tipo::Termico, "PPLA", 1, 0),
        Modelo("16 - PPLA 3 colunas 22x33", Tipo::Termico, "PPLA", 3, 360, 33, 22),
        Modelo("17 - Elgin L42 3 colunas 22x33", Tipo::Termico, "PPLA", 3, 340, 33, 22),
        Modelo("18 - Elgin L42 3 colunas 22x33", Tipo::Termico, "PPLA", 3, 340, 33, 22),
        Modelo("19 - PPLA Elgin Gondola", Tipo::Gondola, "PPLA", 1, 0),
        Modelo("20 - A4 2 colunas", Tipo::A4, "", 2, 0),
        Modelo("21 - PPLA Elgin Gondola", Tipo::Gondola, "PPLA", 1, 0),
        Modelo("22 - PPLA 3 colunas 22x33", Tipo::Termico, "PPLA", 3, 360, 33, 22),
        Modelo("23 - PPLA Elgin 2 colunas", Tipo::Termico, "PPLA", 2, 530),
        Modelo("24 - PPLA Argox 2 colunas 30x50", Tipo::Termico, "PPLA", 2, 540, 50, 30),
        Modelo("25 - PPLA Argox 1 coluna", Tipo::Termico, "PPLA", 1, 0),
        Modelo("26 - A4 30 por folha", Tipo::A4, "", 3, 0),
        Modelo("27 - PPLA 3 colunas", Tipo::Termico, "PPLA", 3, 320),
        Modelo("28 - A4 65 por folha", Tipo::A4, "", 5, 0),
        Modelo("29 - PPLA 2 colunas - Tag com furo", Tipo::Termico, "PPLA", 2, 555),
        Modelo("30 - PPLA 3 colunas", Tipo::Termico, "PPLA", 3, 330),
        Modelo("31 - PPLA 2 colunas", Tipo::Termico, "PPLA", 2, 540),
        Modelo("32 - A4 Gondola", Tipo::A4, "", 2, 0),
        Modelo("33 - A4 80 por folha", Tipo::A4, "", 4, 0),
        Modelo("34 - A4 96 por folha", Tipo::A4, "", 6, 0),
        Modelo("35 - A4 65 por folha", Tipo::A4, "", 5, 0),
        Modelo("36 - EPL2 1 coluna - Tag com furo", Tipo::Termico, "EPL2", 1, 0),
        Modelo("37 - PPLA Argox Gondola", Tipo::Gondola, "PPLA", 1, 0),
        Modelo("38 - EPL2 3 colunas", Tipo::Termico, "EPL2", 3, 320),
        Modelo("39 - A4 126 por folha", Tipo::A4, "", 7, 0),
        Modelo("40 - PPLA 3 colunas 22 x 33", Tipo::Termico, "PPLA", 3, 360, 33, 22),
        Modelo("41 - PPLA Argox 1 coluna 13 mm", Tipo::Termico, "PPLA", 1, 0, 0, 13),
        Modelo("42 - A4 30 por folha", Tipo::A4, "", 3, 0),
        Modelo("43 - PPLA 2 colunas 50 x 30", Tipo::Termico, "PPLA", 2, 540, 50, 30),
        Modelo("44 - PPLA 1 coluna - Tag com furo", Tipo::Termico, "PPLA", 1, 0),
        Modelo("45 - PPLA 3 colunas 35 x 30", Tipo::Termico, "PPLA", 3, 350, 35, 30),
        Modelo("46 - PPLA 3 colunas 35 x 30 - so codigo de barras", Tipo::Termico, "PPLA", 3, 350, 35, 30),
        Modelo("47 - 2 colunas com parcelas", Tipo::Termico, "PPLA", 2, 520),
        Modelo("48 - PPLA 2 colunas 40 x 25", Tipo::Termico, "PPLA", 2, 460, 40, 25),
        Modelo("49 - PPLA Gondola com codigo reduzido", Tipo::Gondola, "PPLA", 1, 0),
        Modelo("50 - PPLA 1 coluna 4 x 4", Tipo::Termico, "PPLA", 1, 0, 40, 40),
        Modelo("51 - EPL2 1 coluna - Tag com furo", Tipo::Termico, "EPL2", 1, 0),
        Modelo("52 - PPLA Elgin L42 2 colunas", Tipo::Termico, "PPLA", 2, 530),
        Modelo("53 - PPLA Elgin L42 3 colunas", Tipo::Termico, "PPLA", 3, 340),
        Modelo("54 - PPLA Elgin L42 3 colunas - variante", Tipo::Termico, "PPLA", 3, 340),
        Modelo("55 - A4 65 por folha", Tipo::A4, "", 5, 0),
        Modelo("56 - PPLA Elgin 1 coluna 60 x 30", Tipo::Termico, "PPLA", 1, 0, 60, 30),
        Modelo("57 - PPLA Elgin Gondola - variante", Tipo::Gondola, "PPLA", 1, 0),
        Modelo("58 - ZPL 4 ou 3 colunas", Tipo::Termico, "ZPL", 3, 325),
        Modelo("59 - Elgin 1 coluna", Tipo::Termico, "PPLA", 1, 0),
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
