#include "device/CdbDeviceLPT.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "common/ErroSistema.h"
#include "common/UFuncoes.h"
#include "device/Descritor.h"

namespace {
bool CaminhoWindows(const std::string& nome) {
    // "c:\..." or "\\host\share": there is no such place on this station.
    return nome.find('\\') != std::string::npos;
}
}  // namespace

TCdbDeviceLPT::~TCdbDeviceLPT() { Descritor::Fechar(fd_); }

std::string TCdbDeviceLPT::NomeArquivo(const std::string& porta) {
    std::string nome = ComecaComSemCaixa(porta, "FILE:") ? porta.substr(5) : porta;
    if (ComecaComSemCaixa(nome, "LPT") && nome.size() > 3) {
        std::string num = nome.substr(3);
        if (!num.empty() && num.back() == ':') num.pop_back();
        if (!num.empty() && num.size() <= 3 && SoNumeros(num) == num) {
            int n = std::stoi(num);
            if (n >= 1) return "/dev/lp" + std::to_string(n - 1);
        }
    }
    return nome;
}

int TCdbDeviceLPT::Abrir(const std::string& nome, bool anexar, int& erro) {
    int flags = O_WRONLY | O_NOCTTY | O_CLOEXEC | O_NONBLOCK;
    if (ModoArquivo()) {
        flags |= O_CREAT | (anexar ? O_APPEND : O_TRUNC);
    }
    int fd = ::open(nome.c_str(), flags, 0666);
    erro = fd < 0 ? errno : 0;
    return fd;
}

void TCdbDeviceLPT::Conectar(const std::string& porta, int timeOutMs) {
    TCdbDeviceClass::Conectar(porta, timeOutMs);
    Descritor::Fechar(fd_);
    timeOut_ = timeOutMs > 0 ? timeOutMs : 3000;
    const std::string nome = NomeArquivo(porta);
    entregas_.Reiniciar();
    GravarLog("  NomeArq: " + nome);
    if (CaminhoWindows(nome)) Falhar(EOSError("Caminho do Windows não existe nesta estação: " + nome));
    if (ModoArquivo()) {
        struct stat st {};
        // Only a plain file is emptied; a device named by path stays where it is.
        if (::stat(nome.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
            GravarLog("  DeleteFile(" + nome + ")");
            if (::unlink(nome.c_str()) != 0) {
                int e = errno;
                Falhar(EOSError("Não foi possível apagar " + nome + ": " + MensagemErroSistema(e)));
            }
        }
    }
    int erro = 0;
    int fd = Abrir(nome, false, erro);
    if (fd < 0) Falhar(EOSError("Não foi possível abrir " + nome + ": " + MensagemErroSistema(erro)));
    Descritor::Fechar(fd);
}

void TCdbDeviceLPT::Desconectar(bool ignorarErros) {
    TCdbDeviceClass::Desconectar(ignorarErros);
    int e = Descritor::Fechar(fd_);
    if (e && !ignorarErros) Falhar(EOSError(MensagemErroSistema(e)));
}

void TCdbDeviceLPT::EnviaString(const std::string& dados) {
    GravarLog("  TCdbDeviceLPT.EnviaString");
    if (porta_.empty()) Falhar(Exception("Porta não definida"));
    const std::string nome = NomeArquivo(porta_);
    int erro = 0;
    Descritor::Fechar(fd_);
    fd_ = Abrir(nome, true, erro);
    if (fd_ < 0) {
        struct stat alvo {};
        NaoConfirmarSeDispositivo(ModoArquivo() && ::stat(nome.c_str(), &alvo) == 0 && S_ISREG(alvo.st_mode));
        Falhar(EOSError("Não foi possível abrir " + nome + ": " + MensagemErroSistema(erro)));
    }
    // In file mode the file belongs to this activation (Ativar started it): a
    // failed stream is taken back out, so no half job stays for the next
    // program to take for a whole one.
    struct stat st {};
    const bool desfazer = ModoArquivo() && ::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode);
    const off_t antes = desfazer ? st.st_size : 0;
    auto desfazerEscrita = [&] {
        if (!desfazer) return;
        if (antes == 0)
            ::unlink(nome.c_str());
        else
            (void)::truncate(nome.c_str(), antes);
    };
    try {
        EnviarEmPartes(dados, [&](const char* p, size_t n) {
            int e = 0;
            if (!Descritor::EscreverTudo(fd_, p, n, timeOut_, e)) {
                if (e == ETIMEDOUT)
                    Falhar(EOSError("Tempo esgotado ao enviar dados para " + nome +
                                    ": a impressora não recebeu os dados"));
                Falhar(EOSError("Erro ao enviar dados para " + nome + ": " + MensagemErroSistema(e)));
            }
            // Unbuffered: once write() returns, the chunk is with the system (the flush).
        });
    } catch (...) {
        Descritor::Fechar(fd_);
        desfazerEscrita();
        NaoConfirmarSeDispositivo(desfazer);
        throw;
    }
    int e = Descritor::Fechar(fd_);
    if (e) {
        desfazerEscrita();
        NaoConfirmarSeDispositivo(desfazer);
        Falhar(EOSError("Erro ao gravar " + nome + ": " + MensagemErroSistema(e)));
    }
    if (!desfazer) {
        entregas_.Avancar(static_cast<int64_t>(dados.size()));
        entregas_.Entregue();
    }
}

void TCdbDeviceLPT::NaoConfirmarSeDispositivo(bool arquivoComum) {
    // What a file took stays written; a printer on a parallel port or behind a
    // device node may have lost the last job with its buffer.
    if (!arquivoComum) entregas_.Falhou(entregas_.Posicao());
}
