// etiquetas-cli modelos: the 59 label models, one line each, and with --png
// their pictures (modelo-NN.png), drawn from each model's own stream with no
// display.
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <sstream>

#include "Comandos.h"
#include "common/Excecoes.h"
#include "common/UFuncoes.h"
#include "labels/InfoModelos.h"

#if __has_include("previa/Galeria.h") && defined(ETIQ_CLI_PREVIA)
#define ETIQ_CLI_GALERIA 1
#include <QFile>
#include <QGuiApplication>

#include "data/udtmAplicativo.h"
#include "labels/a4/FormulariosA4.h"
#include "previa/Desenho.h"
#include "previa/Galeria.h"
#endif

namespace {

// "33 x 22 mm" or, for an A4 model, its cell's size as the form gives it.
std::string Dimensoes(const TInfoModelo& m) {
#ifdef ETIQ_CLI_GALERIA
    if (m.tipo == TTipoModelo::A4) {
        const TFormularioA4 f = CriaFormularioA4(m.numero);
        std::ostringstream s;
        s << std::fixed << std::setprecision(1) << f.LarguraCelulaMm() << " x " << f.AlturaCelulaMm() << " mm";
        return s.str();
    }
#endif
    if (m.larguraMm > 0 && m.alturaMm > 0)
        return std::to_string(m.larguraMm) + " x " + std::to_string(m.alturaMm) + " mm";
    if (m.alturaMm > 0) return "? x " + std::to_string(m.alturaMm) + " mm";
    return "";
}

int Modelos(const std::vector<std::string>& argumentos) {
    TOpcoesCli op(argumentos);
    const bool comPng = op.Tem("png");
    const std::string pasta = op.Valor("png");
    const std::string linguagem = op.Valor("linguagem");
    op.VerificarDesconhecidas();
    if (!linguagem.empty() && linguagem != "PPLA" && linguagem != "PPLB" && linguagem != "EPL2" && linguagem != "ZPL")
        throw Exception("--linguagem: '" + linguagem + "' não é PPLA, PPLB, EPL2 nem ZPL");
    std::vector<int> numeros;
    for (const std::string& p : op.Posicionais()) {
        const std::string t = Trim(p);
        const bool digitos = !t.empty() && t.size() <= 4 && t.find_first_not_of("0123456789") == std::string::npos;
        const int n = digitos ? std::stoi(t) : 0;
        if (!digitos || n < 1 || n > 59) throw Exception("Modelo " + p + " não existe (os modelos vão de 01 a 59).");
        numeros.push_back(n);
    }
    if (numeros.empty())
        for (const auto& m : InfoModelos()) numeros.push_back(m.numero);

    if (comPng && Trim(pasta).empty()) throw Exception("Informe a pasta das imagens: --png PASTA");
#ifndef ETIQ_CLI_GALERIA
    if (comPng) throw Exception("Este etiquetas-cli foi compilado sem as imagens dos modelos.");
#else
    std::unique_ptr<QGuiApplication> app;
    std::unique_ptr<TdtmAplicativo> dtm;
    std::unique_ptr<previa::TGaleriaModelos> galeria;
    if (comPng) {
        std::error_code ec;
        std::filesystem::create_directories(pasta, ec);
        if (!std::filesystem::is_directory(pasta)) throw Exception("Não foi possível criar a pasta " + pasta);
        app = previa::GarantirAplicacaoGrafica();
        dtm = std::make_unique<TdtmAplicativo>();
        galeria = std::make_unique<previa::TGaleriaModelos>(*dtm);
    }
#endif
    int semDesenho = 0;
    for (int n : numeros) {
        const TInfoModelo& m = InfoModelo(n);
        std::cout << ZerosEsquerda(n, 2) << "  " << std::left << std::setw(54) << m.linha.substr(5) << "  "
                  << std::setw(16) << NomeTipoModelo(m.tipo) << "  " << std::setw(4)
                  << (m.escritoPara.empty() ? "-" : m.escritoPara) << "  "
                  << (m.porLinha > 0 ? std::to_string(m.porLinha) + " por linha" : "conforme formato") << "  "
                  << Dimensoes(m) << "\n";
#ifdef ETIQ_CLI_GALERIA
        if (!galeria) continue;
        const previa::TFiguraModelo& f = galeria->Figura(n, linguagem);
        const std::string arquivo =
            (std::filesystem::path(pasta) / ("modelo-" + ZerosEsquerda(n, 2) + ".png")).string();
        // A model that cannot be drawn (model 09 without a format table) gets its reason as the picture.
        if (f.imagem.isNull()) {
            std::cerr << "Aviso: " << f.erro << "\n";
            ++semDesenho;
        }
        if (!(f.imagem.isNull() ? previa::ImagemDoMotivo(f.erro) : f.imagem)
                 .save(QString::fromStdString(arquivo), "PNG"))
            // NOLINTNEXTLINE(performance-inefficient-string-concatenation): a failure's message, built once
            throw Exception("Não foi possível gravar " + arquivo + " (a pasta " + pasta + " pode ser gravada?)");
#endif
    }
    if (comPng)
        std::cout << numeros.size() << " imagem(ns) de modelo gravada(s) em " << pasta
                  << (semDesenho ? "; " + std::to_string(semDesenho) + " com o motivo de não poder ser desenhado" : "")
                  << "\n";
    return 0;
}

const TRegistroComando registro({"modelos", "[N ...] [--png PASTA] [--linguagem PPLA|PPLB|EPL2|ZPL]",
                                 "lista os modelos de etiqueta; com --png grava a imagem de cada um (modelo-NN.png)",
                                 Modelos});

}  // namespace
