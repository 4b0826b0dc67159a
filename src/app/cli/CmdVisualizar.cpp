// etiquetas-cli visualizar: the label images the configured model would print
// for the current queue, as PNG files; nothing is sent to the printer.
#if __has_include("previa/PreviaImpressao.h") && defined(ETIQ_CLI_PREVIA)
#include <QDir>
#include <QGuiApplication>
#include <filesystem>
#include <iostream>

#include "Comandos.h"
#include "common/Excecoes.h"
#include "common/UFuncoes.h"
#include "data/AjustesBanco.h"
#include "data/udtmAplicativo.h"
#include "labels/ImpressaoEtiquetas.h"
#include "previa/PreviaImpressao.h"

namespace {

int Numero(const std::string& opcao, const std::string& texto, int minimo, int maximo) {
    const std::string t = Trim(texto);
    int v = 0;
    bool ok = !t.empty() && t.size() <= 6;
    for (char c : t) ok = ok && c >= '0' && c <= '9';
    if (ok) v = std::stoi(t);
    if (!ok || v < minimo || v > maximo)
        throw Exception("--" + opcao + ": '" + texto + "' deve ser um número de " + std::to_string(minimo) + " a " +
                        std::to_string(maximo));
    return v;
}

int Visualizar(const std::vector<std::string>& argumentos) {
    TOpcoesCli op(argumentos);
    const std::string modelo = op.Tem("modelo") ? std::to_string(Numero("modelo", op.Valor("modelo"), 1, 59)) : "0";
    const int dpi = op.Tem("dpi") ? Numero("dpi", op.Valor("dpi"), 100, 1200) : 203;
    const std::string pasta = op.Valor("png");
    op.VerificarDesconhecidas();
    if (!op.Posicionais().empty()) throw Exception("Argumento inesperado: " + op.Posicionais().front());
    if (Trim(pasta).empty()) throw Exception("Informe a pasta das imagens: --png PASTA");

    std::error_code ec;
    std::filesystem::create_directories(pasta, ec);
    if (!std::filesystem::is_directory(pasta)) throw Exception("Não foi possível criar a pasta " + pasta);

    auto app = previa::GarantirAplicacaoGrafica();
    TdtmAplicativo dtm;
    ExigirPathMerkor(dtm);
    Ajusta_BD(dtm);
    TImpressaoEtiquetas imp(dtm);
    imp.ParamModelo = modelo;
    imp.tblEtiquetaRead.Open();

    previa::TPreviaImpressao previa(imp);
    previa.Dpi = dpi;
    previa.AoImagem = [&](const QImage& img, int indice) {
        const std::string arquivo = (std::filesystem::path(pasta) / previa::NomeImagemPng(indice)).string();
        if (!previa::GravarPng(img, arquivo)) throw Exception("Não foi possível gravar " + arquivo);
        return true;
    };
    const previa::TResultadoPrevia r = previa.Executar();
    for (const auto& aviso : r.avisos) std::cerr << "Aviso: " << aviso << "\n";
    // As `imprimir` says it: a model that draws nothing is named, not counted.
    if (r.modelo == 0)
        std::cout << "Nenhum modelo de etiqueta configurado: nada foi visualizado\n";
    else if (r.modelo < 1 || r.modelo > 59)
        std::cout << "Modelo " << ZerosEsquerda(r.modelo, 2) << " não existe: nada foi visualizado\n";
    else
        std::cout << r.imagens << " imagem(ns) de etiqueta do modelo " << r.modelo << " ("
                  << previa::NomeLinguagem(r.linguagem) << ", " << dpi << " dpi) gravada(s) em " << pasta << "\n";
    return 0;
}

const TRegistroComando registro({"visualizar", "[--modelo N] [--dpi N] --png PASTA",
                                 "grava em PNG as etiquetas da fila como a impressora as receberia, sem imprimir",
                                 Visualizar});

}  // namespace
#endif
