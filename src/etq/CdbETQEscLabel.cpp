#include "etq/CdbETQEscLabel.h"

#include "common/Excecoes.h"

using etq::AnexarNumero;

TCdbETQEscLabel::TCdbETQEscLabel(TCdbETQ* dono) : TCdbETQZplII(dono) {
    ModeloStr = "EscLabel";
    MaxCopias = 99999999;
}

std::string TCdbETQEscLabel::ComandoDeteccaoEtiqueta() {
    const char* modo = DeteccaoEtiqueta == mdeNone ? "N" : DeteccaoEtiqueta == mdeBlackMark ? "M" : "W";
    return std::string("^S(CLM,D,") + modo;
}

std::string TCdbETQEscLabel::ComandoDimensoes() {
    std::string r;
    auto dimensao = [&](const char* comando, int valor) {
        if (valor <= 0) return;
        std::string linha = comando;
        AnexarNumero(linha, Dots(valor));
        AnexarLinha(r, linha);
    };
    dimensao("^S(CLS,P,", Dimensoes.P);
    dimensao("^S(CLS,L,", Dimensoes.L);
    dimensao("^S(CLS,C,", Dimensoes.C);
    dimensao("^S(CLS,G,", Dimensoes.G);
    return r;
}

// The heat is set on the printer itself.
std::string TCdbETQEscLabel::ComandoTemperatura() { return {}; }

std::string TCdbETQEscLabel::ComandoResolucao() {
    const char* dpi = DPI == dpi300 ? "300" : DPI == dpi600 ? "600" : "200";
    std::string r;
    for (const char* comando : {"^S(CLR,R,", "^S(CLR,P,", "^S(CLR,Z,"}) {
        if (!r.empty()) r.append("\r\n");
        r.append(comando);
        r.append(dpi);
    }
    return r;
}

std::string TCdbETQEscLabel::ComandoVelocidade() {
    if (Velocidade > 14) throw Exception("Velocidade deve ser de 1 a 14");
    if (Velocidade <= 0) return {};
    std::string r = "^S(CMP,S,";
    AnexarNumero(r, Velocidade);
    return r;
}

std::string TCdbETQEscLabel::NumeroPaginaDeCodigo(TCdbETQPaginaCodigo pagina) {
    if (pagina == pce1250) return "31";
    return TCdbETQZplII::NumeroPaginaDeCodigo(pagina);
}

std::string TCdbETQEscLabel::ComandoCores() {
    std::string r = "^F(C";
    for (int v : {CorFrente.R, CorFrente.G, CorFrente.B, CorFrente.Opacidade}) {
        AnexarNumero(r, v);
        r.push_back(',');
    }
    r.append("D,");
    for (int v : {CorFundo.R, CorFundo.G, CorFundo.B, CorFundo.Opacidade}) {
        AnexarNumero(r, v);
        r.push_back(',');
    }
    r.push_back('D');
    return r;
}
