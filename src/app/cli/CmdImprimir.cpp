// etiquetas-cli imprimir: the queue window's "Imprimir etiquetas" on the queue
// as it stands, with the port, language and heat of configEtq.ini.
#include <atomic>
#include <csignal>
#include <iostream>

#include "Comandos.h"
#include "common/ConfigEtq.h"
#include "common/Encerramento.h"
#include "common/ErroSistema.h"
#include "common/Excecoes.h"
#include "common/UFuncoes.h"
#include "data/fb/FbCliente.h"
#include "data/udtmAplicativo.h"
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"

namespace {

std::atomic<bool> g_interrompido{false};

void AoInterromper(int) { g_interrompido = true; }

int Inteiro(const std::string& opcao, const std::string& valor) {
    if (valor.empty() || SoNumeros(valor) != valor) throw Exception("Valor inválido para --" + opcao + ": " + valor);
    return StrToInt(valor);
}

// The window's model-58 group as it comes up: "0" + the digits of the stored
// item, values above 1 choosing "4 colunas".
int Colunas58DoConfig() {
    const int item = StrToInt("0" + SoNumeros(LerConfig("modModelo58").substr(0, 4)));
    return item > 1 ? 1 : item;
}

int Executar(const std::vector<std::string>& argumentos) {
    TOpcoesCli op(argumentos);
    const std::string modeloTexto = op.Valor("modelo", "0");
    const bool temParametro = op.Tem("parametro");
    const std::string parametro = op.Valor("parametro");
    const std::string brancos = op.Valor("brancos", "0");
    const bool temParcelas = op.Tem("parcelas");
    const std::string p1 = op.Valor("parcelas");
    const std::string colunas58 = op.Valor("colunas58");
    const bool semPausa = op.Flag("sem-pausa");
    const std::string pdf = op.Valor("pdf");
    const bool continuar = op.Flag("continuar");
    const bool semRepetir = op.Flag("sem-repetir");
    op.VerificarDesconhecidas();

    std::vector<std::string> resto = op.Posicionais();
    std::string p2 = "0";
    if (temParcelas) {
        if (resto.empty()) throw Exception("--parcelas pede dois números: --parcelas P1 P2");
        p2 = resto.front();
        resto.erase(resto.begin());
        Inteiro("parcelas", p1);
        Inteiro("parcelas", p2);
    }
    if (!resto.empty()) throw Exception("Argumento inesperado: " + resto.front());

    TdtmAplicativo dtm;
    TImpressaoEtiquetas imp(dtm);
    imp.ParamModelo = "0" + std::to_string(Inteiro("modelo", modeloTexto));
    if (temParametro) imp.edtParametro = parametro;
    imp.edtBranco = Inteiro("brancos", brancos);
    if (temParcelas) {
        imp.EdtP1 = p1;
        imp.edtP2 = p2;
    }
    if (colunas58.empty())
        imp.modModelo58 = Colunas58DoConfig();
    else if (colunas58 == "3")
        imp.modModelo58 = 0;
    else if (colunas58 == "4")
        imp.modModelo58 = 1;
    else
        throw Exception("Valor inválido para --colunas58: " + colunas58 + " (use 3 ou 4)");
    if (semPausa) imp.PausaMs = 0;
    imp.ArquivoPdf = pdf;

    // Configuration mistakes are told before the queue or the port is touched.
    const int modelo = imp.ModeloConfigurado();
    const std::string nn = ZerosEsquerda(modelo, 2);
    std::string recusa;
    if (modelo == 0)
        recusa = "Nenhum modelo de etiqueta configurado: nada foi impresso";
    else if (modelo < 1 || modelo > 59)
        recusa = "Modelo " + nn + " não existe: nada foi impresso";
    else if (!pdf.empty() && !EhModeloA4(modelo))
        recusa =
            "--pdf vale só para os modelos de folha A4; o modelo " + nn +
            " é de impressora de etiquetas (etiquetas-cli visualizar --png desenha as etiquetas): nada foi impresso";
    if (!recusa.empty()) {
        std::cerr << recusa << "\n";
        return 2;
    }

    // Ctrl+C stops before the next print job, as the window's "Cancelar" does;
    // SIGTERM too, and the program then says it was ended by the signal.
    (void)std::signal(SIGINT, AoInterromper);  // a valid signal and handler: it cannot fail
    imp.AoProgresso = [](int64_t, int64_t) { return !g_interrompido.load() && !EncerramentoPedido(); };

    imp.tblEtiquetaRead.Open();
    if (continuar) {
        const std::string motivo = imp.PrepararContinuacao();
        // "…: nada a continuar" already says that nothing was printed.
        if (!motivo.empty())
            throw Exception(motivo.ends_with("nada a continuar") ? motivo : motivo + ": nada foi impresso");
    } else {
        // Scripts keep working: a repeated queue prints, with a word on the side.
        std::string pergunta = imp.PerguntaRepeticao();
        if (!pergunta.empty()) {
            pergunta.resize(pergunta.size() - std::string(" Imprimir de novo?").size());
            if (semRepetir) throw Exception(pergunta + " Nada foi impresso (--sem-repetir).");
            std::cerr << "Aviso: " << pergunta << " Imprimindo de novo.\n";
        }
    }
    try {
        imp.ImprimeEtiquetasPreConfigurada();
    } catch (const fb::EFbConexao& e) {
        // The link to the database was lost mid-print: what reached the printer stays printed.
        if (!imp.AvisoDiario().empty()) std::cerr << "Aviso: " << imp.AvisoDiario() << "\n";
        if (imp.EtiquetasEnviadas() == 0) throw;
        throw fb::EFbConexao(std::string(e.what()) + "\n" + std::to_string(imp.EtiquetasEnviadas()) + " de " +
                                 std::to_string(imp.EtiquetasAEnviar()) +
                                 " etiquetas já tinham sido enviadas à impressora.",
                             e.CodigoGds(), e.Perdida());
    } catch (const std::exception& e) {
        // How far it got, for the operator to know what to take up again.
        if (!imp.PercursoIniciado() || EncerramentoPedido() || EhModeloA4(modelo)) throw;
        if (!imp.AvisoDiario().empty()) std::cerr << "Aviso: " << imp.AvisoDiario() << "\n";
        std::cerr << MensagemDaFalha(e) << "\n" << imp.ResumoEntrega() << "\n";
        return 1;
    }

    if (!imp.AvisoDiario().empty()) std::cerr << "Aviso: " << imp.AvisoDiario() << "\n";
    if (imp.Cancelado()) {
        std::cerr << "Impressão cancelada: " << imp.ResumoEntrega() << "\n";
        return 130;
    }
    if (EhModeloA4(modelo))
        std::cout << "Folhas A4 do modelo " << nn << (pdf.empty() ? " mostradas\n" : " gravadas em " + pdf + "\n");
    else if (imp.EtiquetasAEnviar() == 0)
        std::cout << "Nenhuma etiqueta a imprimir: as quantidades da fila são todas 0\n";
    else
        std::cout << imp.EtiquetasEnviadas() << " etiquetas enviadas (modelo " << nn << ")\n";
    // Delivered, but the printer may not print the last of them.
    int codigo = 0;
    if (!imp.AvisoStatus().empty()) {
        std::cerr << imp.AvisoStatus() << "\n";
        codigo = 3;
    }
    // Rows whose goods are gone printed nothing: said, never dropped quietly.
    if (!imp.AvisoIncompleta().empty()) {
        std::cerr << imp.AvisoIncompleta() << "\n";
        codigo = 4;
    }
    return codigo;
}

const TRegistroComando registro({
    "imprimir",
    "[--modelo N] [--parametro TEXTO] [--brancos N] [--parcelas P1 P2] [--colunas58 3|4] [--sem-pausa] "
    "[--pdf ARQUIVO] [--continuar] [--sem-repetir]",
    "imprime a fila de etiquetas com o modelo, a porta, a linguagem e a temperatura do configEtq.ini",
    Executar,
});

}  // namespace
