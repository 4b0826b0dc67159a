#include "etq/CdbETQ.h"

#include <iconv.h>
#include <array>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <limits>
#include <mutex>

#include "common/Excecoes.h"
#include "common/Win1252.h"
#include "device/CdbDevice.h"
#include "etq/CdbETQClass.h"
#include "etq/CdbETQEpl2.h"
#include "etq/CdbETQEscLabel.h"
#include "etq/CdbETQPpla.h"
#include "etq/CdbETQZplII.h"

// ---------------------------------------------------------------- enum names

namespace {
template <size_t N>
const char* Nome(const char* const (&nomes)[N], int v) {
    return v >= 0 && static_cast<size_t>(v) < N ? nomes[v] : "?";
}
}  // namespace

const char* NomeEnum(TCdbETQModelo v) {
    static const char* const n[] = {"etqNenhum", "etqPpla", "etqPplb", "etqZPLII", "etqEpl2", "etqEscLabel"};
    return Nome(n, v);
}
const char* NomeEnum(TCdbETQUnidade v) {
    static const char* const n[] = {"etqMilimetros", "etqPolegadas", "etqDots", "etqDecimoDeMilimetros"};
    return Nome(n, v);
}
const char* NomeEnum(TCdbETQDPI v) {
    static const char* const n[] = {"dpi203", "dpi300", "dpi600"};
    return Nome(n, v);
}
const char* NomeEnum(TCdbETQOrientacao v) {
    static const char* const n[] = {"orNormal", "or270", "or180", "or90"};
    return Nome(n, v);
}
const char* NomeEnum(TCdbETQBarraExibeCodigo v) {
    static const char* const n[] = {"becPadrao", "becSIM", "becNAO"};
    return Nome(n, v);
}
const char* NomeEnum(TCdbETQBackFeed v) {
    static const char* const n[] = {"bfNone", "bfOn", "bfOff"};
    return Nome(n, v);
}
const char* NomeEnum(TCdbETQOrigem v) {
    static const char* const n[] = {"ogNone", "ogTop", "ogBottom"};
    return Nome(n, v);
}
const char* NomeEnum(TCdbETQPaginaCodigo v) {
    static const char* const n[] = {"pceNone", "pce437", "pce850", "pce852", "pce860", "pce1250", "pce1252"};
    return Nome(n, v);
}
const char* NomeEnum(TCdbETQDeteccaoEtiqueta v) {
    static const char* const n[] = {"mdeNone", "mdeGap", "mdeBlackMark"};
    return Nome(n, v);
}

// ---------------------------------------------------------------- text preparation

namespace {

using Tabela = std::array<char, 256>;

// TiraAcentos as the printers have always received it: BS, LF and CR kept.
constexpr Tabela CriarTabelaAcentos() {
    Tabela t{};
    const char* latin = "AAAAAAACEEEEIIIIDNOOOOOx0UUUUYbBaaaaaaaceeeeiiiionooooo/0uuuuyby";  // 192..255
    for (int c = 0; c < 256; ++c) {
        int r = c >= 192 ? static_cast<unsigned char>(latin[c - 192]) : c;
        bool mantem = r == 8 || r == 10 || r == 13 || (r >= 32 && r <= 126);
        t[static_cast<size_t>(c)] = static_cast<char>(mantem ? r : ' ');
    }
    return t;
}
constexpr Tabela kAcentos = CriarTabelaAcentos();

// The same with every control byte blanked: what ImprimirTexto uses.
constexpr Tabela CriarTabelaTexto() {
    Tabela t = CriarTabelaAcentos();
    for (auto& c : t)
        if (static_cast<unsigned char>(c) < 32) c = ' ';
    return t;
}
constexpr Tabela kTexto = CriarTabelaTexto();

std::string Mapear(std::string_view texto, const Tabela& t) {
    std::string r(texto.size(), ' ');
    for (size_t i = 0; i < texto.size(); ++i) r[i] = t[static_cast<unsigned char>(texto[i])];
    return r;
}

// Windows-1252 byte -> byte of the printer code page, built once from the
// system's iconv tables.
struct TabelaPagina {
    bool disponivel = false;
    Tabela mapa{};
};

TabelaPagina CriarTabelaPagina(const char* nomeIconv) {
    TabelaPagina tp;
    iconv_t cd = iconv_open("UTF-32LE", nomeIconv);
    // NOLINTNEXTLINE(performance-no-int-to-ptr): iconv_open's failure value
    if (cd == reinterpret_cast<iconv_t>(-1)) return tp;
    std::array<char32_t, 256> decodificado{};
    std::array<bool, 256> valido{};
    for (int b = 0; b < 256; ++b) {
        char entrada = static_cast<char>(b);
        unsigned char saida[8] = {};
        char* pin = &entrada;
        size_t nin = 1;
        char* pout = reinterpret_cast<char*>(saida);
        size_t nout = sizeof saida;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &pin, &nin, &pout, &nout) != static_cast<size_t>(-1) && nout == sizeof saida - 4) {
            decodificado[static_cast<size_t>(b)] =
                static_cast<char32_t>(saida[0] | (saida[1] << 8) | (saida[2] << 16) | (saida[3] << 24));
            valido[static_cast<size_t>(b)] = true;
        }
    }
    iconv_close(cd);
    for (int b = 0; b < 256; ++b) {
        char32_t cp = Win1252::CodePoint(static_cast<unsigned char>(b));
        char alvo = '?';
        if (b < 128 && valido[static_cast<size_t>(b)] && decodificado[static_cast<size_t>(b)] == cp) {
            alvo = static_cast<char>(b);
        } else {
            for (int t = 0; t < 256; ++t) {
                if (valido[static_cast<size_t>(t)] && decodificado[static_cast<size_t>(t)] == cp) {
                    alvo = static_cast<char>(t);
                    break;
                }
            }
        }
        tp.mapa[static_cast<size_t>(b)] = alvo;
    }
    tp.disponivel = true;
    return tp;
}

const TabelaPagina& TabelaDaPagina(TCdbETQPaginaCodigo pagina) {
    static const char* const nomes[] = {"", "CP437", "CP850", "CP852", "CP860", "CP1250", "CP1252"};
    static std::array<TabelaPagina, 7> tabelas;
    static std::once_flag criadas;
    std::call_once(criadas, [] {
        for (size_t i = 1; i < tabelas.size(); ++i) tabelas[i] = CriarTabelaPagina(nomes[i]);
    });
    return tabelas[static_cast<size_t>(pagina)];
}

}  // namespace

std::string TiraAcentos(std::string_view texto) { return Mapear(texto, kAcentos); }

std::string ConverterPaginaDeCodigo(std::string_view texto, TCdbETQPaginaCodigo pagina) {
    // Windows-1252 is the host's code page here: nothing to convert.
    if (pagina == pceNone || pagina == pce1252) return std::string(texto);
    if (pagina < pceNone || pagina > pce1252) throw Exception("Página de código inválida");
    const TabelaPagina& tp = TabelaDaPagina(pagina);
    if (!tp.disponivel)
        throw Exception(std::string("Página de código ") + NomeEnum(pagina) + " não disponível neste sistema");
    return Mapear(texto, tp.mapa);
}

std::string SemCaracteresDeControle(std::string_view texto) {
    std::string r(texto);
    for (char& c : r)
        if (static_cast<unsigned char>(c) < 32) c = ' ';
    return r;
}

// ---------------------------------------------------------------- command list

int TCdbETQCmdList::Add(std::string bloco) {
    if (bloco.empty()) return -1;
    itens_.push_back(std::move(bloco));
    return Count() - 1;
}

void TCdbETQCmdList::Insert(int indice, std::string bloco) {
    if (bloco.empty()) return;
    if (indice < 0) indice = 0;
    if (indice > Count()) indice = Count();
    itens_.insert(itens_.begin() + indice, std::move(bloco));
}

std::string TCdbETQCmdList::Text() const {
    size_t total = 0;
    for (const auto& s : itens_) total += s.size() + 2;
    std::string r;
    r.reserve(total);
    for (const auto& s : itens_) {
        r.append(s);
        r.append("\r\n");
    }
    return r;
}

// ---------------------------------------------------------------- component

namespace {

// "dd/mm/yy hh:nn:ss:zzz" (com ano) or "dd/mm hh:nn:ss:zzz".
std::string Agora(bool comAno) {
    using namespace std::chrono;
    auto agora = system_clock::now();
    std::time_t t = system_clock::to_time_t(agora);
    int ms = static_cast<int>(duration_cast<milliseconds>(agora.time_since_epoch()).count() % 1000);
    std::tm tm{};
    localtime_r(&t, &tm);
    // Fields of a broken-down time: 21 characters at most.
    char buf[40];
    if (comAno)
        (void)std::snprintf(buf, sizeof buf, "%02d/%02d/%02d %02d:%02d:%02d:%03d", tm.tm_mday, tm.tm_mon + 1,
                            tm.tm_year % 100, tm.tm_hour, tm.tm_min, tm.tm_sec, ms);
    else
        (void)std::snprintf(buf, sizeof buf, "%02d/%02d %02d:%02d:%02d:%03d", tm.tm_mday, tm.tm_mon + 1, tm.tm_hour,
                            tm.tm_min, tm.tm_sec, ms);
    return buf;
}

// Horizontal + MargemEsquerda without overflow: out-of-range sums stay out of
// range for the languages' checks.
int Somar(int a, int b) {
    long long s = static_cast<long long>(a) + b;
    if (s > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (s < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(s);
}

void Item(std::string& linha, const char* nome, const std::string& valor) {
    linha.append(", ").append(nome).append(":").append(valor);
}
void Item(std::string& linha, const char* nome, int valor) { Item(linha, nome, std::to_string(valor)); }
const char* Booleano(bool b) { return b ? "True" : "False"; }

}  // namespace

TCdbETQ::TCdbETQ() : device_(std::make_unique<TCdbDevice>()), linguagem_(CriarLinguagem(etqNenhum, this)) {
    device_->SetPorta("LPT1");
    device_->SetDeadLockTimeOut(1000);
    device_->SetFiltroClasseUSB(2);  // USB identification looks for label printers only
}

TCdbETQ::~TCdbETQ() {
    try {
        Desativar();
    } catch (...) {
        // Closing is best effort when the component goes away.
    }
}

std::unique_ptr<TCdbETQClass> TCdbETQ::CriarLinguagem(TCdbETQModelo modelo, TCdbETQ* dono) {
    switch (modelo) {
        case etqNenhum: return std::make_unique<TCdbETQClass>(dono);
        case etqPpla: return std::make_unique<TCdbETQPpla>(dono);
        // PPLB printers take the EPL2 stream as it is.
        case etqPplb:
        case etqEpl2: return std::make_unique<TCdbETQEpl2>(dono);
        case etqZPLII: return std::make_unique<TCdbETQZplII>(dono);
        case etqEscLabel: return std::make_unique<TCdbETQEscLabel>(dono);
    }
    throw Exception("Modelo de impressora inválido: " + std::to_string(static_cast<int>(modelo)));
}

TCdbETQPaginaCodigo TCdbETQ::PaginaDeCodigo() const { return linguagem_->PaginaDeCodigo; }
void TCdbETQ::SetPaginaDeCodigo(TCdbETQPaginaCodigo v) { linguagem_->PaginaDeCodigo = v; }
TCdbETQUnidade TCdbETQ::Unidade() const { return linguagem_->Unidade; }
void TCdbETQ::SetUnidade(TCdbETQUnidade v) { linguagem_->Unidade = v; }
TCdbETQBackFeed TCdbETQ::BackFeed() const { return linguagem_->BackFeed; }
void TCdbETQ::SetBackFeed(TCdbETQBackFeed v) { linguagem_->BackFeed = v; }
bool TCdbETQ::LimparMemoria() const { return linguagem_->LimparMemoria; }
void TCdbETQ::SetLimparMemoria(bool v) { linguagem_->LimparMemoria = v; }
int TCdbETQ::Temperatura() const { return linguagem_->Temperatura; }
void TCdbETQ::SetTemperatura(int v) { linguagem_->Temperatura = v; }
int TCdbETQ::Velocidade() const { return linguagem_->Velocidade; }
void TCdbETQ::SetVelocidade(int v) { linguagem_->Velocidade = v; }
TCdbETQOrigem TCdbETQ::Origem() const { return linguagem_->Origem; }
void TCdbETQ::SetOrigem(TCdbETQOrigem v) { linguagem_->Origem = v; }
TCdbETQDPI TCdbETQ::DPI() const { return linguagem_->DPI; }
void TCdbETQ::SetDPI(TCdbETQDPI v) { linguagem_->DPI = v; }
int TCdbETQ::Avanco() const { return linguagem_->Avanco; }
void TCdbETQ::SetAvanco(int v) { linguagem_->Avanco = v; }
bool TCdbETQ::Guilhotina() const { return linguagem_->Guilhotina; }
void TCdbETQ::SetGuilhotina(bool v) { linguagem_->Guilhotina = v; }
TCdbETQDeteccaoEtiqueta TCdbETQ::DeteccaoEtiqueta() const { return linguagem_->DeteccaoEtiqueta; }
void TCdbETQ::SetDeteccaoEtiqueta(TCdbETQDeteccaoEtiqueta v) { linguagem_->DeteccaoEtiqueta = v; }

const std::string& TCdbETQ::ModeloStr() const { return linguagem_->ModeloStr; }

void TCdbETQ::SetModelo(TCdbETQModelo v) {
    if (LogAtivo()) GravarLog(std::string("- SetModelo. ") + NomeEnum(v));
    if (v == modelo_) return;

    const int temperatura = linguagem_->Temperatura;
    const bool limparMemoria = linguagem_->LimparMemoria;
    const int avanco = linguagem_->Avanco;
    const TCdbETQUnidade unidade = linguagem_->Unidade;
    const TCdbETQDPI dpi = linguagem_->DPI;
    const int velocidade = linguagem_->Velocidade;

    if (ativo_) throw Exception("Não é possível mudar o Modelo com CdbETQ Ativo");

    auto nova = CriarLinguagem(v, this);
    // Only these carry over; origin, back-feed, cutter, code page and label
    // sensing start again from the new language's own values.
    nova->Temperatura = temperatura;
    nova->LimparMemoria = limparMemoria;
    nova->Avanco = avanco;
    nova->Unidade = unidade;
    nova->DPI = dpi;
    nova->Velocidade = velocidade;
    linguagem_ = std::move(nova);
    modelo_ = v;
}

const std::string& TCdbETQ::Porta() const { return device_->Porta(); }

void TCdbETQ::SetPorta(std::string_view porta) {
    // With an empty port the component is active while the device is not;
    // the port may not change under an open job all the same.
    if (ativo_ && porta != device_->Porta()) throw Exception("Não é possível mudar a Porta com o Dispositivo Ativo");
    device_->SetPorta(porta);
}

void TCdbETQ::SetAtivo(bool v) {
    if (v)
        Ativar();
    else
        Desativar();
}

void TCdbETQ::LimparEstado() {
    etqInicializada_ = false;
    etqFinalizada_ = false;
    copiasPendentes_ = 1;
    avancoPendente_ = 0;
}

void TCdbETQ::Ativar() {
    if (ativo_) return;
    if (LogAtivo()) {
        const std::string tracos(80, '-');
        GravarLog("\r\n" + tracos + "\r\nATIVAR - " + Agora(true) + " - Modelo: " + ModeloStr() +
                  " - Porta: " + Porta() + " - Device: " + device_->DeviceToString(false) + "\r\n" + tracos + "\r\n");
    }
    if (!Porta().empty()) {
        TIdentificacaoDispositivo id = device_->IdentificarDispositivo();
        if (id.Classe != 0 && id.Classe != 2)
            throw Exception("Porta: " + Porta() + " não está conectada a uma Impressora de Etiquetas");
        // A language number the component does not know leaves the language as set.
        if (id.Protocolo > etqNenhum && id.Protocolo <= etqEscLabel)
            SetModelo(static_cast<TCdbETQModelo>(id.Protocolo));
        device_->Ativar();
    }
    ativo_ = true;
    LimparEstado();
}

void TCdbETQ::Desativar() {
    if (!ativo_) return;
    if (LogAtivo()) GravarLog("DESATIVAR");
    if (!Porta().empty()) device_->Desativar();
    ativo_ = false;
    // A label left half-built by a failed job must not ride along with the
    // next job after the port is opened again.
    listaCmd_.Clear();
    LimparEstado();
}

void TCdbETQ::IniciarEtiqueta() {
    if (LogAtivo()) GravarLog("- IniciarEtiqueta");
    if (!ativo_) Ativar();
    std::string inicio = linguagem_->ComandoIniciarEtiqueta();
    if (etqInicializada_ || etqFinalizada_) {
        if (etqFinalizada_) listaCmd_.Add(linguagem_->ComandoFinalizarEtiqueta(copiasPendentes_, avancoPendente_));
        listaCmd_.Add(std::move(inicio));
    } else {
        // Drawing calls made before the start stay behind it.
        listaCmd_.Insert(0, std::move(inicio));
    }
    etqInicializada_ = true;
    etqFinalizada_ = false;
    copiasPendentes_ = 1;
    avancoPendente_ = 0;
}

void TCdbETQ::FinalizarEtiqueta(int Copias, int AvancoEtq) {
    if (LogAtivo())
        GravarLog("- FinalizarEtiqueta: Copias:" + std::to_string(Copias) + ", AvancoEtq:" + std::to_string(AvancoEtq));
    if (!etqInicializada_) IniciarEtiqueta();
    etqInicializada_ = false;
    etqFinalizada_ = true;
    copiasPendentes_ = Copias;
    avancoPendente_ = AvancoEtq;
}

void TCdbETQ::Imprimir(int Copias, int AvancoEtq) {
    if (LogAtivo())
        GravarLog("- Imprimir. Copias:" + std::to_string(Copias) + ", AvancoEtq:" + std::to_string(AvancoEtq));
    if (!ativo_) Ativar();

    // Whatever happens below, the next job starts from an empty list.
    struct Limpeza {
        TCdbETQ& etq;
        ~Limpeza() {
            etq.listaCmd_.Clear();
            etq.LimparEstado();
        }
    } limpeza{*this};

    if (!etqInicializada_ && !etqFinalizada_) IniciarEtiqueta();
    if (etqFinalizada_) {
        if (Copias > 1) copiasPendentes_ = Copias;
        if (AvancoEtq > 0) avancoPendente_ = AvancoEtq;
    } else {
        FinalizarEtiqueta(Copias, AvancoEtq);
    }
    listaCmd_.Add(linguagem_->ComandoFinalizarEtiqueta(copiasPendentes_, avancoPendente_));
    if (linguagem_->LimparMemoria) listaCmd_.Add(linguagem_->ComandoLimparMemoria());

    std::string fluxo = linguagem_->AjustarQuebrasDeLinha(listaCmd_.Text());
    if (LogAtivo()) GravarLog(fluxo, true);
    device_->EnviaString(fluxo);
}

std::string TCdbETQ::PrepararTexto(const std::string& texto) const {
    const TCdbETQPaginaCodigo pagina = linguagem_->PaginaDeCodigo;
    if (pagina == pceNone) return Mapear(texto, kTexto);
    return SemCaracteresDeControle(ConverterPaginaDeCodigo(texto, pagina));
}

void TCdbETQ::ImprimirTexto(TCdbETQOrientacao Orientacao, const std::string& Fonte, int MultiplicadorH,
                            int MultiplicadorV, int Vertical, int Horizontal, const std::string& Texto, int SubFonte,
                            bool ImprimirReverso) {
    if (LogAtivo()) {
        std::string l = std::string("- ImprimirTexto:  Orientacao:") + NomeEnum(Orientacao);
        Item(l, "Fonte", Fonte);
        Item(l, "MultiplicadorH", MultiplicadorH);
        Item(l, "MultiplicadorV", MultiplicadorV);
        Item(l, "Vertical", Vertical);
        Item(l, "Horizontal", Horizontal);
        Item(l, "Texto", Texto);
        Item(l, "SubFonte", SubFonte);
        Item(l, "ImprimirReverso", Booleano(ImprimirReverso));
        GravarLog(l);
    }
    listaCmd_.Add(linguagem_->ComandoImprimirTexto(Orientacao, Fonte, MultiplicadorH, MultiplicadorV, Vertical,
                                                   Somar(Horizontal, margemEsquerda_), PrepararTexto(Texto), SubFonte,
                                                   ImprimirReverso));
}

void TCdbETQ::ImprimirTexto(TCdbETQOrientacao Orientacao, int Fonte, int MultiplicadorH, int MultiplicadorV,
                            int Vertical, int Horizontal, const std::string& Texto, int SubFonte,
                            bool ImprimirReverso) {
    std::string f;
    if (Fonte >= 0 && Fonte <= 9)
        f.push_back(static_cast<char>('0' + Fonte));
    else if (Fonte > 9 && Fonte <= 200)
        f.push_back(static_cast<char>(Fonte + 55));
    else
        f = Fonte < 0 ? std::to_string(Fonte) : "?";  // no language takes these
    ImprimirTexto(Orientacao, f, MultiplicadorH, MultiplicadorV, Vertical, Horizontal, Texto, SubFonte,
                  ImprimirReverso);
}

void TCdbETQ::ImprimirBarras(TCdbETQOrientacao Orientacao, const std::string& TipoBarras, int LarguraBarraLarga,
                             int LarguraBarraFina, int Vertical, int Horizontal, const std::string& Texto,
                             int AlturaCodBarras, TCdbETQBarraExibeCodigo ExibeCodigo) {
    if (LogAtivo()) {
        std::string l = std::string("- ImprimirBarras:  Orientacao:") + NomeEnum(Orientacao);
        Item(l, "TipoBarras", TipoBarras);
        Item(l, "LarguraBarraLarga", LarguraBarraLarga);
        Item(l, "LarguraBarraFina", LarguraBarraFina);
        Item(l, "Vertical", Vertical);
        Item(l, "Horizontal", Horizontal);
        Item(l, "Texto", Texto);
        Item(l, "AlturaCodBarras", AlturaCodBarras);
        Item(l, "ExibeCodigo", NomeEnum(ExibeCodigo));
        GravarLog(l);
    }
    listaCmd_.Add(linguagem_->ComandoImprimirBarras(Orientacao, TipoBarras, LarguraBarraLarga, LarguraBarraFina,
                                                    Vertical, Somar(Horizontal, margemEsquerda_),
                                                    SemCaracteresDeControle(Texto), AlturaCodBarras, ExibeCodigo));
}

namespace {
int LarguraDeTexto(const std::string& s) {
    bool digitos = !s.empty();
    for (char c : s)
        if (c < '0' || c > '9') digitos = false;
    if (digitos) {
        long long v = 0;
        for (char c : s) {
            v = v * 10 + (c - '0');
            if (v > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
        }
        return static_cast<int>(v);
    }
    unsigned char c = s.empty() ? 'A' : static_cast<unsigned char>(s[0]);
    if (c >= 'a' && c <= 'z') c = static_cast<unsigned char>(c - 32);
    return c - 55;
}
}  // namespace

void TCdbETQ::ImprimirBarras(TCdbETQOrientacao Orientacao, const std::string& TipoBarras,
                             const std::string& LarguraBarraLarga, const std::string& LarguraBarraFina, int Vertical,
                             int Horizontal, const std::string& Texto, int AlturaCodBarras,
                             TCdbETQBarraExibeCodigo ExibeCodigo) {
    ImprimirBarras(Orientacao, TipoBarras, LarguraDeTexto(LarguraBarraLarga), LarguraDeTexto(LarguraBarraFina),
                   Vertical, Horizontal, Texto, AlturaCodBarras, ExibeCodigo);
}

void TCdbETQ::ImprimirLinha(int Vertical, int Horizontal, int Largura, int Altura) {
    if (LogAtivo()) {
        std::string l = "- ImprimirLinha:  Vertical:" + std::to_string(Vertical);
        Item(l, "Horizontal", Horizontal);
        Item(l, "Largura", Largura);
        Item(l, "Altura", Altura);
        GravarLog(l);
    }
    listaCmd_.Add(linguagem_->ComandoImprimirLinha(Vertical, Somar(Horizontal, margemEsquerda_), Largura, Altura));
}

void TCdbETQ::ImprimirCaixa(int Vertical, int Horizontal, int Largura, int Altura, int EspessuraVertical,
                            int EspessuraHorizontal, int Canto) {
    if (LogAtivo()) {
        std::string l = "- ImprimirCaixa:  Vertical:" + std::to_string(Vertical);
        Item(l, "Horizontal", Horizontal);
        Item(l, "Largura", Largura);
        Item(l, "Altura", Altura);
        Item(l, "EspessuraVertical", EspessuraVertical);
        Item(l, "EspessuraHorizontal", EspessuraHorizontal);
        Item(l, "Canto", Canto);
        GravarLog(l);
    }
    listaCmd_.Add(linguagem_->ComandoImprimirCaixa(Vertical, Somar(Horizontal, margemEsquerda_), Largura, Altura,
                                                   EspessuraVertical, EspessuraHorizontal, Canto));
}

void TCdbETQ::GravarLog(const std::string& linha, bool traduzir) {
    if (!LogAtivo()) return;
    const std::string l = traduzir ? TraduzirControles(linha) : linha;
    bool tratado = false;
    if (OnGravarLog) OnGravarLog(l, tratado);
    if (tratado || arqLog_.empty()) return;
    try {
        std::string registro = "-- " + Agora(false) + " " + l + "\r\n";
        if (std::FILE* f = std::fopen(arqLog_.c_str(), "ab")) {
            // A short write or a failed close loses only log lines.
            (void)std::fwrite(registro.data(), 1, registro.size(), f);
            (void)std::fclose(f);
        }
    } catch (...) {
        // A log that cannot be written never stops a print.
    }
}
