#include "labels/a4/RelatorioA4.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QIODevice>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <map>

#include "common/ErroSistema.h"
#include "common/Excecoes.h"
#include "common/PastaExecucao.h"

double TFormularioA4::LarguraCelulaMm() const {
    const int n = std::max(1, grade.colunas);
    return (grade.larguraBandaPx * MmPorPx - grade.espacoMm * (n - 1)) / n;
}

int TFormularioA4::LinhasPorPagina() const {
    const double util = 297.0 - folha.topo - folha.base;
    // A hair of tolerance: 10 cells of 25.4 mm fill 254 mm exactly.
    return std::max(1, static_cast<int>(std::floor(util / AlturaCelulaMm() + 1e-9)));
}

void TFormularioA4::PosicaoCelula(long n, int& pagina, double& xMm, double& yMm) const {
    const long porPagina = CelulasPorPagina();
    pagina = static_cast<int>(n / porPagina);
    const long i = n % porPagina;
    const long linha = i / grade.colunas, coluna = i % grade.colunas;
    xMm = folha.esquerda + folha.internaEsquerda + coluna * (LarguraCelulaMm() + grade.espacoMm);
    yMm = folha.topo + linha * AlturaCelulaMm();
}

TElementoA4* TFormularioA4::Elemento(const std::string& n) {
    for (auto& e : elementos)
        if (e.nome == n) return &e;
    return nullptr;
}

bool TCelulasEmMemoria::Proxima(TLinhasCelula& linhas) {
    if (pos_ >= celulas_.size()) return false;
    linhas = celulas_[pos_++];
    return true;
}

namespace {

// Paints cells in px at 96 per inch; keeps what repeats from cell to cell
// (fonts, pictures, the last barcode: copies of a label come one after another).
class TPintorCelula {
public:
    explicit TPintorCelula(QPainter& p) : p_(p) {}

    // `largura`: the cell's width; nothing drawn passes its right edge.
    void Celula(double x, double y, double largura, const std::vector<TElementoA4>& elementos,
                const TLinhasCelula& linhas) {
        direita_ = x + largura;
        for (const auto& e : elementos) {
            if (!e.visivel) continue;
            switch (e.tipo) {
                case TTipoElemento::Texto:
                    if (e.linha >= 1 && e.linha <= 6) Texto(x, y, e, QString::fromStdString(linhas[e.linha - 1]));
                    break;
                case TTipoElemento::Rotulo: Texto(x, y, e, QString::fromStdString(e.texto)); break;
                case TTipoElemento::Barras:
                    if (e.linha >= 1 && e.linha <= 6) Barras(x, y, e, linhas[e.linha - 1]);
                    break;
                case TTipoElemento::Imagem: Imagem(x, y, e); break;
            }
        }
    }

private:
    struct TFonte {
        QFont fonte;
        QFontMetricsF metricas;
    };

    const TFonte& Fonte(int px) {
        auto it = fontes_.find(px);
        if (it == fontes_.end()) {
            QFont f(QStringLiteral("Arial"));
            f.setPixelSize(px);
            it = fontes_.emplace(px, TFonte{f, QFontMetricsF(f)}).first;
        }
        return it->second;
    }

    void Texto(double x, double y, const TElementoA4& e, QString s) {
        if (s.isEmpty()) return;
        const TFonte& f = Fonte(e.fontePx);
        if (e.corta && e.largura > 0)
            while (!s.isEmpty() && f.metricas.horizontalAdvance(s) > e.largura) s.chop(1);
        double esq = x + e.esquerda;
        if (e.direita) esq = x + e.esquerda + e.largura - f.metricas.horizontalAdvance(s);
        // A text longer than its cell is cut at the cell's edge, never drawn over the next label.
        const double cabe = direita_ - esq;
        if (f.metricas.horizontalAdvance(s) > cabe) {
            while (!s.isEmpty() && f.metricas.horizontalAdvance(s) > cabe) s.chop(1);
            if (s.isEmpty()) return;
        }
        p_.setFont(f.fonte);
        p_.setPen(Qt::black);
        p_.drawText(QPointF(esq, y + e.topo + f.metricas.ascent()), s);
    }

    void Barras(double x, double y, const TElementoA4& e, const std::string& valor) {
        if (!ultimoValido_ || valor != ultimoValor_ || e.barras.tipo != ultimasBarras_.tipo ||
            e.barras.razao != ultimasBarras_.razao) {
            ultimo_ = CodificaBarras(e.barras.tipo, e.barras.razao, valor);
            ultimoValor_ = valor;
            ultimasBarras_ = e.barras;
            ultimoValido_ = true;
        }
        if (ultimo_.Vazio()) return;  // a value the kind cannot encode leaves the box empty
        const double margem = 1.0 / MmPorPx;
        const double disponivel = std::min(e.largura, direita_ - x - e.esquerda) - 2 * margem;
        if (disponivel <= 0) return;
        // Module wide when it fits; squeezed to the box otherwise.
        const double unidade = std::min(e.barras.modulo, disponivel / ultimo_.largura);
        // Bars in narrow-bar units under one transform: short numbers in the PDF.
        retangulos_.clear();
        for (auto [bx, bw] : ultimo_.barras) retangulos_.emplace_back(bx, 0, bw, 1);
        p_.save();
        p_.translate(x + e.esquerda + margem, y + e.topo);
        p_.scale(unidade, e.altura);
        p_.setPen(Qt::NoPen);
        p_.setBrush(Qt::black);
        p_.drawRects(retangulos_.data(), static_cast<int>(retangulos_.size()));
        p_.restore();
    }

    void Imagem(double x, double y, const TElementoA4& e) {
        if (e.arquivo.empty()) return;
        auto it = imagens_.find(e.arquivo);
        if (it == imagens_.end()) it = imagens_.emplace(e.arquivo, QImage(QString::fromStdString(e.arquivo))).first;
        if (it->second.isNull()) return;  // a missing logo prints nothing
        p_.drawImage(QRectF(x + e.esquerda, y + e.topo, e.largura, e.altura), it->second);
    }

    QPainter& p_;
    double direita_ = 0;
    std::map<int, TFonte> fontes_;
    std::map<std::string, QImage> imagens_;
    std::vector<QRectF> retangulos_;
    TSimboloBarras ultimo_;
    std::string ultimoValor_;
    TBarrasA4 ultimasBarras_;
    bool ultimoValido_ = false;
};

TPreviaA4& Previa() {
    static TPreviaA4 previa;
    return previa;
}

}  // namespace

int CompoeFolhas(const TFormularioA4& formulario, TFonteCelulas& fonte, QPagedPaintDevice& dispositivo) {
    QPainter p;
    if (!p.begin(&dispositivo)) throw Exception("Não foi possível iniciar a impressão do relatório " + formulario.nome);
    const double escala = dispositivo.logicalDpiX() / 96.0;
    p.scale(escala, escala);
    // The hook's changes live for this run only: a preview repainting starts afresh.
    std::vector<TElementoA4> elementos = formulario.elementos;
    TPintorCelula pintor(p);
    fonte.Abrir();
    TLinhasCelula linhas;
    int pagina = 0;
    for (long n = 0; fonte.Proxima(linhas); ++n) {
        int paginaCelula;
        double xMm, yMm;
        formulario.PosicaoCelula(n, paginaCelula, xMm, yMm);
        while (pagina < paginaCelula) {
            if (!dispositivo.newPage()) {
                p.end();
                throw Exception("Não foi possível iniciar uma nova página do relatório " + formulario.nome);
            }
            ++pagina;
        }
        if (formulario.DetailGrid1BeforePrint) formulario.DetailGrid1BeforePrint(linhas, elementos);
        pintor.Celula(xMm / MmPorPx, yMm / MmPorPx, formulario.LarguraCelulaMm() / MmPorPx, elementos, linhas);
    }
    if (!p.end()) throw Exception("Não foi possível concluir a impressão do relatório " + formulario.nome);
    return pagina + 1;
}

int PintaPrimeiraPagina(const TFormularioA4& formulario, TFonteCelulas& fonte, QPainter& p) {
    std::vector<TElementoA4> elementos = formulario.elementos;
    TPintorCelula pintor(p);
    fonte.Abrir();
    TLinhasCelula linhas;
    int n = 0;
    for (; n < formulario.CelulasPorPagina() && fonte.Proxima(linhas); ++n) {
        int pagina;
        double xMm, yMm;
        formulario.PosicaoCelula(n, pagina, xMm, yMm);
        if (formulario.DetailGrid1BeforePrint) formulario.DetailGrid1BeforePrint(linhas, elementos);
        pintor.Celula(xMm / MmPorPx, yMm / MmPorPx, formulario.LarguraCelulaMm() / MmPorPx, elementos, linhas);
    }
    return n;
}

namespace {

// The PDF's bytes straight to a file descriptor, keeping the first system
// error: QFile would take a full disk in silence and answer in English.
class TSaidaPdf : public QIODevice {
public:
    explicit TSaidaPdf(int fd) : fd_(fd) { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }
    ~TSaidaPdf() override { Fechar(); }
    int Erro() const { return erro_; }
    // Closes the descriptor; a failing close (a network disk) counts as a failed write.
    void Fechar() {
        if (fd_ < 0) return;
        if (::close(fd_) != 0 && erro_ == 0) erro_ = errno;
        fd_ = -1;
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* dados, qint64 n) override {
        if (erro_ != 0) return -1;
        for (qint64 feitos = 0; feitos < n;) {
            const ssize_t r = ::write(fd_, dados + feitos, static_cast<size_t>(n - feitos));
            if (r < 0 && errno == EINTR) continue;
            if (r <= 0) {
                erro_ = r < 0 ? errno : EIO;
                return -1;
            }
            feitos += r;
        }
        return n;
    }

private:
    int fd_;
    int erro_ = 0;
};

}  // namespace

int ExportaPdfA4(const TFormularioA4& formulario, TFonteCelulas& fonte, const std::string& arquivo) {
    GarantirAplicacaoGrafica();
    const std::string falha = "Não foi possível gravar o arquivo PDF " + arquivo + ": ";
    const int fd = ::open(arquivo.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) throw Exception(falha + MensagemErroSistema(errno));
    struct stat st {};
    // Only a plain file is taken back after a failure; a device named by path stays.
    const bool arquivoComum = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    TSaidaPdf saida(fd);
    int paginas = 0;
    try {
        QPdfWriter pdf(&saida);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        pdf.setTitle(QString::fromStdString(formulario.titulo));
        pdf.setCreator(QStringLiteral("Etiquetas de codigo de barras"));
        paginas = CompoeFolhas(formulario, fonte, pdf);
    } catch (...) {
        saida.Fechar();
        if (arquivoComum) ::unlink(arquivo.c_str());
        throw;
    }
    saida.Fechar();
    if (saida.Erro() != 0) {
        // A half-written PDF must not pass for the sheets.
        if (arquivoComum) ::unlink(arquivo.c_str());
        throw Exception(falha + MensagemErroSistema(saida.Erro()));
    }
    return paginas;
}

void InstalarPreviaA4(TPreviaA4 previa) { Previa() = std::move(previa); }

bool PreviaA4Instalada() { return static_cast<bool>(Previa()); }

void MostraPreviaA4(TDocumentoA4& documento) {
    if (!Previa()) throw Exception("Visualização de relatórios indisponível neste programa");
    Previa()(documento);
}

void GarantirAplicacaoGrafica() {
    if (QCoreApplication::instance()) return;
    PrepararPastaExecucao();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char nome[] = "etiquetas";
    static char* argv[] = {nome, nullptr};
    // Lives until the process ends: Qt objects must not outlive it at exit.
    new QGuiApplication(argc, argv);
}
