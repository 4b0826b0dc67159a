#include "device/CdbDeviceRaw.h"

#include <cups/cups.h>
#include <cups/ipp.h>

#include <cstdlib>
#include <memory>

#include "common/UFuncoes.h"

namespace {

struct FecharHttp {
    void operator()(http_t* h) const { httpClose(h); }
};
using THttp = std::unique_ptr<http_t, FecharHttp>;

// A connection to the spooler that gives up after the time-out, so a missing
// or stuck server never holds the program.
THttp ConectarServidor(int timeOutMs) {
    http_t* h = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                             timeOutMs > 0 ? timeOutMs : 3000, nullptr);
    if (h) httpSetTimeout(h, (timeOutMs > 0 ? timeOutMs : 3000) / 1000.0, nullptr, nullptr);
    return THttp(h);
}

std::string Texto(ipp_attribute_t* a) {
    const char* v = ippGetString(a, 0, nullptr);
    return v ? v : "";
}

std::string PadraoDoServidor(http_t* h) {
    ipp_t* pedido = ippNewRequest(IPP_OP_CUPS_GET_DEFAULT);
    const char* atributos[] = {"printer-name"};
    ippAddStrings(pedido, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 1, nullptr, atributos);
    ipp_t* resposta = cupsDoRequest(h, pedido, "/");
    std::string nome;
    if (resposta) {
        if (ipp_attribute_t* a = ippFindAttribute(resposta, "printer-name", IPP_TAG_NAME)) nome = Texto(a);
        ippDelete(resposta);
    }
    return nome;
}

}  // namespace

std::vector<TImpressoraInstalada> TCdbDeviceRaw::ImpressorasInstaladas(int timeOutMs, bool* respondeu) {
    std::vector<TImpressoraInstalada> lista;
    if (respondeu) *respondeu = false;
    THttp h = ConectarServidor(timeOutMs);
    if (!h) return lista;
    if (respondeu) *respondeu = true;
    ipp_t* pedido = ippNewRequest(IPP_OP_CUPS_GET_PRINTERS);
    const char* atributos[] = {"printer-name", "printer-info", "device-uri"};
    ippAddStrings(pedido, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 3, nullptr, atributos);
    ipp_t* resposta = cupsDoRequest(h.get(), pedido, "/");
    if (!resposta) return lista;  // no printers at all, or a refusal: none to offer
    TImpressoraInstalada atual;
    auto fechar = [&] {
        if (!atual.Nome.empty()) lista.push_back(atual);
        atual = {};
    };
    for (ipp_attribute_t* a = ippFirstAttribute(resposta); a; a = ippNextAttribute(resposta)) {
        const char* nome = ippGetName(a);
        if (!nome) {  // group separator: one printer ends
            fechar();
            continue;
        }
        if (ippGetGroupTag(a) != IPP_TAG_PRINTER) continue;
        std::string n = nome;
        if (n == "printer-name")
            atual.Nome = Texto(a);
        else if (n == "printer-info")
            atual.Descricao = Texto(a);
        else if (n == "device-uri")
            atual.Endereco = Texto(a);
    }
    fechar();
    ippDelete(resposta);

    // The user's choice (as lp reads it) first, then the server's.
    std::string padrao;
    for (const char* var : {"LPDEST", "PRINTER"}) {
        const char* v = std::getenv(var);
        if (v && *v && std::string(v) != "lp") {
            padrao = v;
            break;
        }
    }
    auto marcar = [&](const std::string& nome) {
        for (auto& i : lista)
            if (IguaisSemCaixa(i.Nome, nome)) {
                i.Padrao = true;
                return true;
            }
        return false;
    };
    if (padrao.empty() || !marcar(padrao)) {
        std::string doServidor = PadraoDoServidor(h.get());
        if (!doServidor.empty()) marcar(doServidor);
    }
    return lista;
}

bool TCdbDeviceRaw::EhImpressoraInstalada(const std::string& nome, int timeOutMs) {
    for (const auto& i : ImpressorasInstaladas(timeOutMs))
        if (IguaisSemCaixa(i.Nome, nome)) return true;
    return false;
}

std::string TCdbDeviceRaw::ProcurarImpressora(const std::string& porta) {
    const std::string nome = ComecaComSemCaixa(porta, "RAW:") ? porta.substr(4) : porta;
    const auto lista = ImpressorasInstaladas(timeOut_);
    int indice = -1;
    if (nome == "*") {
        for (size_t i = 0; i < lista.size() && indice < 0; ++i)
            if (lista[i].Padrao) indice = static_cast<int>(i);
        if (indice < 0) {
            if (lista.empty()) Falhar(Exception("Erro Nenhuma impressora Padrão foi detectada"));
            indice = 0;
        }
    } else {
        for (size_t i = 0; i < lista.size() && indice < 0; ++i)
            if (IguaisSemCaixa(lista[i].Nome, nome)) indice = static_cast<int>(i);
        // A shared printer "\\host\name" also answers to its bare name.
        for (size_t i = 0; i < lista.size() && indice < 0; ++i) {
            const std::string& n = lista[i].Nome;
            if (!ComecaCom(n, "\\\\")) continue;
            auto barra = n.find('\\', 2);
            if (barra != std::string::npos && IguaisSemCaixa(n.substr(barra + 1), nome)) indice = static_cast<int>(i);
        }
        if (indice < 0) Falhar(Exception("Impressora não encontrada [" + nome + "]"));
    }
    GravarLog("  GetPrinterIndex: " + std::to_string(indice));
    return lista[static_cast<size_t>(indice)].Nome;
}

void TCdbDeviceRaw::Conectar(const std::string& porta, int timeOutMs) {
    TCdbDeviceClass::Conectar(porta, timeOutMs);
    timeOut_ = timeOutMs > 0 ? timeOutMs : 3000;
    ProcurarImpressora(porta);
}

void TCdbDeviceRaw::EnviaString(const std::string& dados) {
    GravarLog("  TCdbDeviceRaw.EnviaStringWindows");
    const std::string impressora = ProcurarImpressora(porta_);
    THttp h = ConectarServidor(timeOut_);
    if (!h) Falhar(Exception("Impressora não encontrada [" + impressora + "]"));
    const std::string documento = Dono().NomeDocumento();
    int job = cupsCreateJob(h.get(), impressora.c_str(), documento.c_str(), 0, nullptr);
    if (job <= 0) {
        ipp_status_t st = cupsLastError();
        if (st == IPP_STATUS_ERROR_NOT_FOUND || st == IPP_STATUS_ERROR_NOT_POSSIBLE)
            Falhar(Exception("Impressora não encontrada [" + impressora + "]"));
        Falhar(Exception("Erro ao enviar para a impressora " + impressora + ": " + cupsLastErrorString()));
    }
    bool ok = cupsStartDocument(h.get(), impressora.c_str(), job, documento.c_str(), CUPS_FORMAT_RAW, 1) ==
              HTTP_STATUS_CONTINUE;
    if (ok && !dados.empty()) ok = cupsWriteRequestData(h.get(), dados.data(), dados.size()) == HTTP_STATUS_CONTINUE;
    ipp_status_t fim = ok ? cupsFinishDocument(h.get(), impressora.c_str()) : cupsLastError();
    if (!ok || static_cast<int>(fim) >= 0x100) {  // 0x0000-0x00ff are the successful answers
        std::string erro = cupsLastErrorString() ? cupsLastErrorString() : "";
        // Half a job must not print: take it back.
        THttp outra = ConectarServidor(timeOut_);
        if (outra) cupsCancelJob2(outra.get(), impressora.c_str(), job, 0);
        Falhar(Exception("Erro ao enviar para a impressora " + impressora + ": " + erro));
    }
}
