#pragma once
// The report engine of the A4 label sheets: a form is its page (margins in
// mm), its grid (columns, spacing, band width and cell height in px at 96 per
// inch) and the elements of one cell. One composer walks the cells of a
// sheet source and paints them page by page on any paged device (PDF file,
// printer, print preview); a page is finished before the next one starts,
// so memory does not grow with the number of pages.
#include <array>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "labels/a4/BarrasA4.h"

class QPagedPaintDevice;
class QPainter;

constexpr double MmPorPx = 25.4 / 96.0;

enum class TTipoElemento { Texto, Barras, Imagem, Rotulo };

// Position and size in px at 96 per inch from the cell's top left corner.
struct TElementoA4 {
    std::string nome;
    TTipoElemento tipo = TTipoElemento::Texto;
    double esquerda = 0, topo = 0, largura = 0, altura = 0;
    int linha = 0;         // LINHAn printed by a text or a barcode
    int fontePx = 13;      // Arial, character height in px
    bool direita = false;  // right edge kept at esquerda + largura
    bool corta = false;    // fixed width: a longer text is cut at the box
    std::string texto;     // fixed label
    std::string arquivo;   // picture file, centred and stretched over the box
    TBarrasA4 barras;
    bool visivel = true;
};

struct TFolhaA4 {
    double esquerda = 10, topo = 10, direita = 10, base = 10;  // margins, mm
    double internaEsquerda = 0, internaDireita = 0;            // inside margins, mm
};

struct TGradeA4 {
    int colunas = 1;
    double espacoMm = 0;  // between two columns
    double larguraBandaPx = 0;
    double alturaCelulaPx = 0;
};

// LINHA1 to LINHA6 of one sheet row (one cell), UTF-8.
using TLinhasCelula = std::array<std::string, 6>;

// Run before each cell is drawn; may change the visibility and the barcode
// settings of the elements, which then hold for the following cells too.
using TAntesCelula = std::function<void(const TLinhasCelula& linhas, std::vector<TElementoA4>& elementos)>;

struct TFormularioA4 {
    std::string nome;  // TfrmEtiquetaA4_28, TfrmEtiqueta26 ...
    std::string titulo = "Boleto";
    TFolhaA4 folha;
    TGradeA4 grade;
    std::vector<TElementoA4> elementos;
    TAntesCelula DetailGrid1BeforePrint;

    double LarguraCelulaMm() const;
    double AlturaCelulaMm() const { return grade.alturaCelulaPx * MmPorPx; }
    int LinhasPorPagina() const;
    int CelulasPorPagina() const { return LinhasPorPagina() * grade.colunas; }
    // Top left corner, in mm from the page's corner, of the n-th cell of a run
    // (0-based), and the page it falls on (0-based).
    void PosicaoCelula(long n, int& pagina, double& xMm, double& yMm) const;
    TElementoA4* Elemento(const std::string& nome);
};

// The rows of the sheet query, in cell order.
class TFonteCelulas {
public:
    virtual ~TFonteCelulas() = default;
    // Back to the first cell: a preview paints the report again when its page setup changes.
    virtual void Abrir() = 0;
    virtual bool Proxima(TLinhasCelula& linhas) = 0;
};

class TCelulasEmMemoria : public TFonteCelulas {
public:
    explicit TCelulasEmMemoria(std::vector<TLinhasCelula> celulas) : celulas_(std::move(celulas)) {}
    void Abrir() override { pos_ = 0; }
    bool Proxima(TLinhasCelula& linhas) override;

private:
    std::vector<TLinhasCelula> celulas_;
    size_t pos_ = 0;
};

// Paints every cell of the source on the device, starting a new page when one
// is full; a source without cells gives one empty page. Needs a
// QGuiApplication (fonts). The device must be A4 portrait without margins.
// Returns the number of pages.
int CompoeFolhas(const TFormularioA4& formulario, TFonteCelulas& fonte, QPagedPaintDevice& dispositivo);

// Paints the cells of the first page only on `p`, in px at 96 per inch from
// the page's top left corner (a page thumbnail); returns the cells painted.
int PintaPrimeiraPagina(const TFormularioA4& formulario, TFonteCelulas& fonte, QPainter& p);

// Writes the report as a PDF file; raises with a Portuguese message when the
// file cannot be written. Returns the number of pages.
int ExportaPdfA4(const TFormularioA4& formulario, TFonteCelulas& fonte, const std::string& arquivo);

// A composed report: a form (set up for this run) over its sheet source. The
// preview paints it as often as it needs (each run starts from the first cell).
class TDocumentoA4 {
public:
    TDocumentoA4(TFormularioA4 formulario, TFonteCelulas& fonte) : formulario_(std::move(formulario)), fonte_(fonte) {}
    const TFormularioA4& Formulario() const { return formulario_; }
    const std::string& Titulo() const { return formulario_.titulo; }
    int Imprimir(QPagedPaintDevice& dispositivo) { return CompoeFolhas(formulario_, fonte_, dispositivo); }
    int ExportarPdf(const std::string& arquivo) {
        const int paginas = ExportaPdfA4(formulario_, fonte_, arquivo);
        Entregue("PDF: " + arquivo);
        return paginas;
    }
    // The sheets went somewhere for real (a PDF, a printer): `destino` says
    // where. A preview only looked at is not told.
    std::function<void(const std::string& destino)> AoEntregar;
    void Entregue(const std::string& destino) {
        if (AoEntregar) AoEntregar(destino);
    }

private:
    TFormularioA4 formulario_;
    TFonteCelulas& fonte_;
};

// The modal preview (print and "Documento PDF" export) lives in the program,
// which installs it here. Without one, showing a report is an error.
using TPreviaA4 = std::function<void(TDocumentoA4& documento)>;
void InstalarPreviaA4(TPreviaA4 previa);
bool PreviaA4Instalada();
void MostraPreviaA4(TDocumentoA4& documento);

// Painting needs a QGuiApplication; a program without one (etiquetas-cli)
// gets one on the offscreen platform, so no display is needed.
void GarantirAplicacaoGrafica();
