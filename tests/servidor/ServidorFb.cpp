#include "ServidorFb.h"
#include "suporte/Caminhos.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include <gtest/gtest.h>

#include "data/fb/EsquemaLoja.h"
#include "data/udtmAplicativo.h"
#include "suporte/ConsultaFb.h"
#include "suporte/Suporte.h"

namespace {

TServidorFb* g_servidor = nullptr;

std::string Aspas(const std::string& s) {
    std::string r = "'";
    for (char c : s) r += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return r + "'";
}

// Runs scripts/servidor.sh; its standard output in `saida`, its messages in `erros`.
int Script(const std::string& argumentos, std::string& saida, std::string& erros, const std::string& pasta) {
    const std::string arquivoErros = pasta + "/script.err";
    const std::string cmd = "ETIQ_BUILD=" + Aspas(kPastaBuild) + " " +
                            Aspas(std::string(kRaizProjeto) + "/scripts/servidor.sh") + " " + argumentos + " 2>" +
                            Aspas(arquivoErros);
    int status = 0;
    saida = SaidaDe(cmd, &status);
    if (status == -1) throw std::runtime_error("popen falhou");
    erros = LerTudo(arquivoErros);
    while (!saida.empty() && (saida.back() == '\n' || saida.back() == ' ')) saida.pop_back();
    return status;
}

}  // namespace

double Segundos(std::chrono::steady_clock::time_point desde) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - desde).count();
}

TServidorFb& Servidor() {
    if (!g_servidor) throw std::runtime_error("servidor de teste não criado");
    return *g_servidor;
}
void DefinirServidor(TServidorFb* servidor) { g_servidor = servidor; }

int RodarTestesComServidor(const char* pasta) {
    TPastaTemp temp(pasta);
    TServidorFb servidor(temp.caminho.string());
    DefinirServidor(&servidor);
    const int r = RUN_ALL_TESTS();
    DefinirServidor(nullptr);
    return r;
}

TServidorFb::TServidorFb(std::string pasta) : pasta_(std::move(pasta)) { Iniciar(); }

TServidorFb::~TServidorFb() {
    if (disponivel_) Parar();
}

void TServidorFb::Iniciar() {
    std::string saida, erros;
    std::string args = "iniciar " + Aspas(pasta_ + "/raiz");
    if (porta_) args += " --porta " + std::to_string(porta_);
    int rc = Script(args, saida, erros, pasta_);
    if (rc == 0) {
        porta_ = std::stoi(saida);
        disponivel_ = true;
        return;
    }
    disponivel_ = false;
    falhou_ = rc != 3;
    motivo_ = (rc == 3 ? "Sem o binário do servidor Firebird: " : "O servidor Firebird de teste não iniciou: ") + erros;
}

void TServidorFb::Parar() {
    std::string saida, erros;
    Script("parar " + Aspas(pasta_ + "/raiz"), saida, erros, pasta_);
}

pid_t TServidorFb::Pid() const { return static_cast<pid_t>(std::stol(LerTudo(pasta_ + "/raiz/servidor.pid"))); }

void TServidorFb::Matar() {
    pid_t pid = Pid();
    ::kill(pid, SIGKILL);
    // Gone from the process table before the test goes on.
    for (int i = 0; i < 100 && ::kill(pid, 0) == 0; ++i) {
        if (LerTudo("/proc/" + std::to_string(pid) + "/stat").find(") Z") != std::string::npos) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

void TServidorFb::Congelar() { ::kill(Pid(), SIGSTOP); }
void TServidorFb::Descongelar() { ::kill(Pid(), SIGCONT); }

TCongelamento::TCongelamento(double segundos) {
    Servidor().Congelar();
    guarda_ = std::thread([this, segundos] {
        std::unique_lock<std::mutex> g(m_);
        if (!cv_.wait_for(g, std::chrono::duration<double>(segundos), [&] { return fim_; })) Servidor().Descongelar();
    });
}

TCongelamento::~TCongelamento() {
    {
        std::lock_guard<std::mutex> g(m_);
        fim_ = true;
    }
    cv_.notify_all();
    guarda_.join();
    Servidor().Descongelar();
}

std::string TServidorFb::Caminho(const std::string& arquivo) const {
    return "127.0.0.1/" + std::to_string(porta_) + ":" + arquivo;
}

void CriarLojaNoServidor(const std::string& caminhoRemoto) {
    fb::TDatabase db;
    db.SetCaminho(caminhoRemoto);
    db.SetParametros(ParametrosConexao());
    db.CriarBanco();
    fb::CriarEsquemaLoja(db, fb::TVersaoEsquema::Atual);
}

TConexao::TConexao(const std::string& caminho) : tr(db, ParametrosTransacao()) {
    db.SetCaminho(caminho);
    db.SetParametros(ParametrosConexao());
    db.SetTransacaoPadrao(&tr);
}

std::string TConexao::Texto(const std::string& sql) {
    if (tr.Ativa()) tr.Commit();
    std::string r = PrimeiroValor(db, tr, sql);
    tr.Commit();
    return r;
}

void TConexao::Executar(const std::string& sql) {
    fb::TQuery q(db, tr);
    q.Add(sql);
    q.ExecSQL();
    tr.Commit();
}

int64_t OutrosAnexos(TConexao& c, pid_t processo) {
    return std::stoll(
        c.Texto("select count(*) from mon$attachments where mon$attachment_id <> current_connection "
                "and mon$remote_pid = " +
                std::to_string(processo)));
}

TProcesso::TProcesso(const std::vector<std::string>& argumentos, const std::string& pasta,
                     const std::vector<std::string>& ambiente) {
    static int contador = 0;
    arquivoSaida_ = pasta + "/processo-" + std::to_string(++contador) + ".out";
    std::vector<char*> argv;
    for (const auto& a : argumentos) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    // The environment is made before the fork: the child only calls exec-safe functions.
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        std::string v = *e;
        bool trocada = false;
        for (const auto& n : ambiente)
            trocada = trocada || v.substr(0, v.find('=') + 1) == n.substr(0, n.find('=') + 1);
        if (!trocada) env.push_back(v);
    }
    env.insert(env.end(), ambiente.begin(), ambiente.end());
    std::vector<char*> envp;
    for (auto& v : env) envp.push_back(v.data());
    envp.push_back(nullptr);
    pid_ = ::fork();
    if (pid_ < 0) throw std::runtime_error("fork falhou");
    if (pid_ == 0) {
        // Only exec-safe calls between fork and exec.
        int fd = ::open(arquivoSaida_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd >= 0) {
            ::dup2(fd, 1);
            ::dup2(fd, 2);
        }
        int nulo = ::open("/dev/null", O_RDONLY);
        if (nulo >= 0) ::dup2(nulo, 0);
        // The test runner may have blocked or ignored signals; the child starts clean.
        sigset_t nada;
        sigemptyset(&nada);
        ::sigprocmask(SIG_SETMASK, &nada, nullptr);
        ::signal(SIGTERM, SIG_DFL);
        ::signal(SIGINT, SIG_DFL);
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
}

TProcesso::~TProcesso() {
    if (!terminou_ && pid_ > 0) {
        ::kill(pid_, SIGKILL);
        Esperar(10);
    }
}

bool TProcesso::Esperar(double segundos) {
    if (terminou_) return true;
    const auto inicio = std::chrono::steady_clock::now();
    for (;;) {
        int st = 0;
        pid_t r = ::waitpid(pid_, &st, WNOHANG);
        if (r == pid_) {
            terminou_ = true;
            status_ = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
            return true;
        }
        if (Segundos(inicio) >= segundos) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

std::string TProcesso::Saida() const { return LerTudo(arquivoSaida_); }

bool TProcesso::EsperarTexto(const std::string& texto, double segundos) {
    const auto inicio = std::chrono::steady_clock::now();
    for (;;) {
        if (Saida().find(texto) != std::string::npos) return true;
        if (Esperar(0)) return Saida().find(texto) != std::string::npos;
        if (Segundos(inicio) >= segundos) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

void TProcesso::Sinal(int sinal) { ::kill(pid_, sinal); }
