#pragma once
// The label printer component. Layouts call the drawing operations; the
// language object turns each call into printer commands; the port object
// delivers the finished stream. Plain C++, no Qt.
//
// Texts handed to the drawing calls (Texto, Fonte, TipoBarras) are 8-bit
// Windows-1252 bytes, as the printers take them; callers holding UTF-8 convert
// with Win1252::DeUtf8(texto, ' '). Porta and exception messages are UTF-8.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TCdbDevice;
class TCdbETQClass;

// Plain enums with a fixed type: the value names are unique and read well in
// layouts (orNormal, becSIM); the qualified form works as well. Ordinals are
// fixed: the USB identifier database stores TCdbETQModelo ordinals.
enum TCdbETQModelo : int { etqNenhum, etqPpla, etqPplb, etqZPLII, etqEpl2, etqEscLabel };
enum TCdbETQUnidade : int { etqMilimetros, etqPolegadas, etqDots, etqDecimoDeMilimetros };
enum TCdbETQDPI : int { dpi203, dpi300, dpi600 };
enum TCdbETQOrientacao : int { orNormal, or270, or180, or90 };
enum TCdbETQBarraExibeCodigo : int { becPadrao, becSIM, becNAO };
enum TCdbETQBackFeed : int { bfNone, bfOn, bfOff };
enum TCdbETQOrigem : int { ogNone, ogTop, ogBottom };
enum TCdbETQPaginaCodigo : int { pceNone, pce437, pce850, pce852, pce860, pce1250, pce1252 };
enum TCdbETQDeteccaoEtiqueta : int { mdeNone, mdeGap, mdeBlackMark };

// Value names for log lines ("etqPpla", "orNormal", ...).
const char* NomeEnum(TCdbETQModelo v);
const char* NomeEnum(TCdbETQUnidade v);
const char* NomeEnum(TCdbETQDPI v);
const char* NomeEnum(TCdbETQOrientacao v);
const char* NomeEnum(TCdbETQBarraExibeCodigo v);
const char* NomeEnum(TCdbETQBackFeed v);
const char* NomeEnum(TCdbETQOrigem v);
const char* NomeEnum(TCdbETQPaginaCodigo v);
const char* NomeEnum(TCdbETQDeteccaoEtiqueta v);

// Text preparation of ImprimirTexto (Windows-1252 in and out).
// Accented letters to plain ones; anything outside 32..126 but BS, LF and CR to a blank.
std::string TiraAcentos(std::string_view texto);
// Windows-1252 to the printer code page; characters the page lacks become '?'.
std::string ConverterPaginaDeCodigo(std::string_view texto, TCdbETQPaginaCodigo pagina);
// Every byte below 32 to a blank: goods data must never carry a line break
// into a command record, where it would end the record and start another.
std::string SemCaracteresDeControle(std::string_view texto);

// The commands of one print job. Each entry is one command block (it may hold
// several lines joined by CR LF); empty blocks are never stored.
class TCdbETQCmdList {
public:
    // -1 when `bloco` is empty (nothing stored).
    int Add(std::string bloco);
    void Insert(int indice, std::string bloco);
    int Count() const { return static_cast<int>(itens_.size()); }
    const std::string& operator[](int i) const { return itens_[static_cast<size_t>(i)]; }
    void Clear() { itens_.clear(); }
    // Every entry followed by CR LF.
    std::string Text() const;

private:
    std::vector<std::string> itens_;
};

// Receives every log line; setting `tratado` keeps it out of ArqLOG.
using TCdbETQGravarLog = std::function<void(const std::string& linha, bool& tratado)>;

class TCdbETQ {
public:
    TCdbETQ();
    ~TCdbETQ();
    TCdbETQ(const TCdbETQ&) = delete;
    TCdbETQ& operator=(const TCdbETQ&) = delete;

    // Settings held by the language object: reading or writing sends nothing.
    TCdbETQPaginaCodigo PaginaDeCodigo() const;
    void SetPaginaDeCodigo(TCdbETQPaginaCodigo v);
    TCdbETQUnidade Unidade() const;
    void SetUnidade(TCdbETQUnidade v);
    TCdbETQBackFeed BackFeed() const;
    void SetBackFeed(TCdbETQBackFeed v);
    bool LimparMemoria() const;
    void SetLimparMemoria(bool v);
    int Temperatura() const;
    void SetTemperatura(int v);
    int Velocidade() const;
    void SetVelocidade(int v);
    TCdbETQOrigem Origem() const;
    void SetOrigem(TCdbETQOrigem v);
    TCdbETQDPI DPI() const;
    void SetDPI(TCdbETQDPI v);
    int Avanco() const;
    void SetAvanco(int v);
    bool Guilhotina() const;
    void SetGuilhotina(bool v);
    TCdbETQDeteccaoEtiqueta DeteccaoEtiqueta() const;
    void SetDeteccaoEtiqueta(TCdbETQDeteccaoEtiqueta v);

    // The printer language. Changing it replaces the language object; refused
    // while active unless the value is the current one.
    TCdbETQModelo Modelo() const { return modelo_; }
    void SetModelo(TCdbETQModelo v);
    const std::string& ModeloStr() const;

    // Added to every Horizontal, in Unidade.
    int MargemEsquerda() const { return margemEsquerda_; }
    void SetMargemEsquerda(int v) { margemEsquerda_ = v; }

    TCdbETQGravarLog OnGravarLog;
    const std::string& ArqLOG() const { return arqLog_; }
    void SetArqLOG(std::string arquivo) { arqLog_ = std::move(arquivo); }

    // Port name (UTF-8), held by the port object.
    const std::string& Porta() const;
    void SetPorta(std::string_view porta);

    bool Ativo() const { return ativo_; }
    void SetAtivo(bool v);
    TCdbDevice& Device() { return *device_; }

    void Ativar();
    void Desativar();

    void IniciarEtiqueta();
    void FinalizarEtiqueta(int Copias = 1, int AvancoEtq = 0);
    void Imprimir(int Copias = 1, int AvancoEtq = 0);

    void ImprimirTexto(TCdbETQOrientacao Orientacao, const std::string& Fonte, int MultiplicadorH, int MultiplicadorV,
                       int Vertical, int Horizontal, const std::string& Texto, int SubFonte = 0,
                       bool ImprimirReverso = false);
    // Font by number: 0..9 are "0".."9", 10 is "A", 11 "B" and so on.
    void ImprimirTexto(TCdbETQOrientacao Orientacao, int Fonte, int MultiplicadorH, int MultiplicadorV, int Vertical,
                       int Horizontal, const std::string& Texto, int SubFonte = 0, bool ImprimirReverso = false);
    // A char would silently pick the numeric form: write "2" or 2.
    void ImprimirTexto(TCdbETQOrientacao, char, int, int, int, int, const std::string&, int = 0, bool = false) = delete;

    void ImprimirBarras(TCdbETQOrientacao Orientacao, const std::string& TipoBarras, int LarguraBarraLarga,
                        int LarguraBarraFina, int Vertical, int Horizontal, const std::string& Texto,
                        int AlturaCodBarras = 0, TCdbETQBarraExibeCodigo ExibeCodigo = becPadrao);
    // Widths as texts: digits give their value, a letter gives its code - 55 ("A" is 10).
    void ImprimirBarras(TCdbETQOrientacao Orientacao, const std::string& TipoBarras,
                        const std::string& LarguraBarraLarga, const std::string& LarguraBarraFina, int Vertical,
                        int Horizontal, const std::string& Texto, int AlturaCodBarras = 0,
                        TCdbETQBarraExibeCodigo ExibeCodigo = becPadrao);

    void ImprimirLinha(int Vertical, int Horizontal, int Largura, int Altura);
    void ImprimirCaixa(int Vertical, int Horizontal, int Largura, int Altura, int EspessuraVertical,
                       int EspessuraHorizontal, int Canto = 0);

    // Log line to OnGravarLog and ArqLOG; `traduzir` spells control bytes out
    // ("[STX]", "[CR]", "[200]"), as the port object does.
    void GravarLog(const std::string& linha, bool traduzir = false);
    // True when a log line would go anywhere (lines are only built then).
    bool LogAtivo() const { return OnGravarLog || !arqLog_.empty(); }

    // Internal state, for the windows' diagnostics and for tests.
    TCdbETQClass& Linguagem() { return *linguagem_; }
    const TCdbETQCmdList& ListaCmd() const { return listaCmd_; }
    bool EtqInicializada() const { return etqInicializada_; }
    bool EtqFinalizada() const { return etqFinalizada_; }
    int CopiasPendentes() const { return copiasPendentes_; }
    int AvancoPendente() const { return avancoPendente_; }

private:
    static std::unique_ptr<TCdbETQClass> CriarLinguagem(TCdbETQModelo modelo, TCdbETQ* dono);
    std::string PrepararTexto(const std::string& texto) const;
    void LimparEstado();

    std::unique_ptr<TCdbDevice> device_;
    std::unique_ptr<TCdbETQClass> linguagem_;
    TCdbETQCmdList listaCmd_;
    TCdbETQModelo modelo_ = etqNenhum;
    bool ativo_ = false;
    bool etqInicializada_ = false;
    bool etqFinalizada_ = false;
    int copiasPendentes_ = 1;
    int avancoPendente_ = 0;
    int margemEsquerda_ = 0;
    std::string arqLog_;
};
