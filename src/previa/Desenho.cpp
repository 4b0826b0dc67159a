#include "previa/Desenho.h"

#include <zint.h>

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>

#include "common/PastaExecucao.h"
#include "common/Win1252.h"

namespace previa {

namespace {

// ---------------------------------------------------------------- barcodes

struct Barra {
    int x = 0, y = 0, largura = 0, altura = 0;
};

struct TextoLegivel {
    std::string texto;
    int x = 0, y = 0;  // top-left of the text cell run, local dots
    int celulaL = 0, celulaA = 0;
};

// A barcode as rectangles in local dots: bars start at x 0, the readable line
// may reach left of it (the leading digit of EAN-13 and UPC-A).
struct Codigo {
    std::vector<Barra> barras;
    std::vector<TextoLegivel> textos;
    int largura = 0, altura = 0;  // the anchored box: bars and the line under them
    int esquerda = 0;             // how far the drawing reaches left of x 0
    int direita = 0;              // and right of the bars (UPC-A's last digit)
    std::string erro;
};

bool DuasLarguras(int s) {
    switch (s) {
        case BARCODE_CODE39:
        case BARCODE_EXCODE39:
        case BARCODE_HIBC_39:
        case BARCODE_LOGMARS:
        case BARCODE_C25INTER:
        case BARCODE_C25STANDARD:
        case BARCODE_C25IND:
        case BARCODE_CODABAR:
        case BARCODE_CODE11:
        case BARCODE_MSI_PLESSEY:
        case BARCODE_PLESSEY:
        case BARCODE_DPLEIT: return true;
        default: return false;
    }
}

bool Modulo(const zint_symbol* s, int linha, int coluna) {
    return (s->encoded_data[linha][coluna >> 3] >> (coluna & 7)) & 1;
}

struct Zint {
    zint_symbol* s = ZBarcode_Create();
    ~Zint() { ZBarcode_Delete(s); }
};

int Codificar(Zint& z, int simbologia, const std::string& dados) {
    ZBarcode_Clear(z.s);
    z.s->symbology = simbologia;
    z.s->input_mode = DATA_MODE;
    return ZBarcode_Encode(z.s, reinterpret_cast<const unsigned char*>(dados.data()), static_cast<int>(dados.size()));
}

bool SoDigitos(const std::string& s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

Codigo MontarCodigo(const Elemento& e, std::vector<std::string>& avisos) {
    Codigo c;
    Zint z;
    std::string dados = e.dados;
    if (dados.empty()) {
        c.erro = "Código de barras sem dados";
        return c;
    }
    int r = Codificar(z, e.simbologia, dados);
    // A printer computes the check digit of EAN and UPC itself: a wrong one
    // in the data prints the code with the right one.
    const bool eanUpc = e.simbologia == BARCODE_EANX || e.simbologia == BARCODE_UPCA;
    if (r >= ZINT_ERROR && eanUpc && SoDigitos(dados) &&
        (dados.size() == 13 || dados.size() == 12 || dados.size() == 8)) {
        dados.pop_back();
        r = Codificar(z, e.simbologia, dados);
        if (r < ZINT_ERROR) avisos.push_back("Dígito verificador de " + e.dados + " refeito pela impressora");
    }
    if (r >= ZINT_ERROR) {
        c.erro = std::string("Código de barras não gerado (") + z.s->errtxt + "): " + e.dados;
        return c;
    }
    const zint_symbol* s = z.s;
    const int fina = std::clamp(e.barraFina, 1, 40);
    const int larga = std::clamp(e.barraLarga, fina, 120);
    const bool duas = DuasLarguras(e.simbologia);
    const int linhas = std::clamp(s->rows, 1, 200);
    float somaAlturas = 0;
    for (int i = 0; i < linhas; ++i) somaAlturas += std::max(s->row_height[i], 0.0f);
    const int altura = std::clamp(e.altura, 1, kMaxLado);

    // Module columns to dots: two-width codes take narrow or wide per run.
    std::vector<int> inicio(static_cast<size_t>(s->width) + 1, 0);
    if (duas) {
        int x = 0;
        for (int col = 0; col < s->width;) {
            const bool cor = Modulo(s, 0, col);
            int fim = col;
            while (fim < s->width && Modulo(s, 0, fim) == cor) ++fim;
            const int n = fim - col;
            const int largura = n == 1 ? fina : larga;
            for (int k = col; k < fim; ++k) inicio[static_cast<size_t>(k)] = x + (k - col) * largura / n;
            x += largura;
            col = fim;
        }
        inicio[static_cast<size_t>(s->width)] = x;
    } else {
        for (int k = 0; k <= s->width; ++k) inicio[static_cast<size_t>(k)] = k * fina;
    }
    c.largura = inicio[static_cast<size_t>(s->width)];

    const bool ean13 = e.simbologia == BARCODE_EANX && s->width == 95;
    const bool ean8 = e.simbologia == BARCODE_EANX && s->width == 67;
    const bool upca = e.simbologia == BARCODE_UPCA && s->width == 95;
    const int textoA = e.legivel ? std::clamp(fina * 9, 10, 240) : 0;
    const int textoL = std::max(textoA * 6 / 10, 1);
    const int topoBarras = e.legivelAcima ? textoA : 0;

    auto guarda = [&](int col) {
        if (ean13 || upca) {
            if (col < 3 || (col >= 45 && col < 50) || col >= 92) return true;
            if (upca && (col < 10 || col >= 85)) return true;
        }
        if (ean8) return col < 3 || (col >= 32 && col < 35) || col >= 64;
        return false;
    };

    int y = topoBarras;
    for (int l = 0; l < linhas; ++l) {
        const float parte = somaAlturas > 0 ? s->row_height[l] / somaAlturas : 1.0f / linhas;
        const int h = std::max(1, static_cast<int>(std::lround(altura * parte)));
        for (int col = 0; col < s->width;) {
            if (!Modulo(s, l, col)) {
                ++col;
                continue;
            }
            int fim = col;
            while (fim < s->width && Modulo(s, l, fim) && guarda(fim) == guarda(col)) ++fim;
            const int desce = (e.legivel && !e.legivelAcima && guarda(col)) ? textoA / 2 : 0;
            c.barras.push_back({inicio[static_cast<size_t>(col)], y,
                                inicio[static_cast<size_t>(fim)] - inicio[static_cast<size_t>(col)], h + desce});
            col = fim;
        }
        y += h;
    }
    c.altura = y + (e.legivelAcima ? 0 : textoA);

    if (e.legivel) {
        const std::string texto(reinterpret_cast<const char*>(s->text));
        const int yTexto = e.legivelAcima ? 0 : altura + 1;
        auto centrado = [&](const std::string& t, int de, int ate) {
            const int w = static_cast<int>(t.size()) * textoL;
            c.textos.push_back({t, (inicio[static_cast<size_t>(de)] + inicio[static_cast<size_t>(ate)] - w) / 2, yTexto,
                                textoL, textoA});
        };
        if (ean13 && texto.size() >= 13) {
            c.textos.push_back({texto.substr(0, 1), -textoL - fina * 2, yTexto, textoL, textoA});
            centrado(texto.substr(1, 6), 3, 45);
            centrado(texto.substr(7, 6), 50, 92);
            c.esquerda = textoL + fina * 2;
        } else if (upca && texto.size() >= 12) {
            c.textos.push_back({texto.substr(0, 1), -textoL - fina * 2, yTexto, textoL, textoA});
            centrado(texto.substr(1, 5), 10, 45);
            centrado(texto.substr(6, 5), 50, 85);
            c.textos.push_back({texto.substr(11, 1), c.largura + fina * 2, yTexto, textoL, textoA});
            c.esquerda = textoL + fina * 2;
            c.direita = textoL + fina * 2;
        } else if (ean8 && texto.size() >= 8) {
            centrado(texto.substr(0, 4), 3, 32);
            centrado(texto.substr(4, 4), 35, 64);
        } else {
            centrado(texto, 0, s->width);
        }
    }
    return c;
}

// ---------------------------------------------------------------- fonts

// A monospaced face scaled so that one character fills one cell.
class Fontes {
public:
    QFont Para(int celulaL, int celulaA, qreal& ascendente) {
        std::lock_guard<std::mutex> trava(m_);
        auto chave = std::make_pair(celulaL, celulaA);
        auto it = cache_.find(chave);
        if (it == cache_.end()) {
            if (!base_) Iniciar();
            QFont f(familia_);
            f.setStyleStrategy(QFont::NoAntialias);
            f.setStyleHint(QFont::Monospace);
            const qreal px = std::max(1.0, celulaA * 100.0 / alturaBase_);
            f.setPixelSize(static_cast<int>(std::lround(px)));
            const qreal avanco = avancoBase_ * f.pixelSize() / 100.0;
            f.setStretch(std::clamp(static_cast<int>(std::lround(100.0 * celulaL / std::max(avanco, 0.1))), 1, 4000));
            it = cache_.emplace(chave, std::make_pair(f, ascendenteBase_ * f.pixelSize() / 100.0)).first;
        }
        ascendente = it->second.second;
        return it->second.first;
    }

private:
    void Iniciar() {
        familia_ = "Liberation Mono";
        QFont f(familia_);
        f.setStyleHint(QFont::Monospace);
        f.setPixelSize(100);
        QFontMetricsF m(f);
        alturaBase_ = std::max(m.ascent() + m.descent(), 1.0);
        ascendenteBase_ = m.ascent();
        avancoBase_ = std::max(m.horizontalAdvance(QLatin1Char('M')), 1.0);
        base_ = true;
    }

    std::mutex m_;
    bool base_ = false;
    QString familia_;
    qreal alturaBase_ = 100, ascendenteBase_ = 80, avancoBase_ = 60;
    std::map<std::pair<int, int>, std::pair<QFont, qreal>> cache_;
};

Fontes& FontesGlobais() {
    static Fontes f;
    return f;
}

QString Qt(const std::string& bytes) { return QString::fromStdString(Win1252::ParaUtf8(bytes)); }

void Escrever(QPainter& p, const std::string& texto, int x, int y, int celulaL, int celulaA, const QColor& cor) {
    if (texto.empty() || celulaL <= 0 || celulaA <= 0) return;
    qreal ascendente = 0;
    p.setFont(FontesGlobais().Para(celulaL, celulaA, ascendente));
    p.setPen(cor);
    p.drawText(QPointF(x, y + ascendente), Qt(texto));
}

// ---------------------------------------------------------------- layout

struct Preparado {
    const Elemento* e = nullptr;
    int largura = 0, altura = 0;    // the anchored box, local dots
    int esquerda = 0, direita = 0;  // drawing beside the box (EAN and UPC digits)
    Codigo codigo;
    QTransform t;  // local to image
    QRect caixa;   // image rectangle of everything drawn
    QRect tinta;   // what leaves ink: a text's blanks at either end print nothing
};

Preparado Preparar(const Elemento& e, std::vector<std::string>& avisos) {
    Preparado p;
    p.e = &e;
    switch (e.tipo) {
        case TipoElemento::Texto:
            p.largura = static_cast<int>(std::min<size_t>(e.dados.size(), 4000)) * std::clamp(e.celulaL, 0, kMaxLado);
            p.altura = std::clamp(e.celulaA, 0, kMaxLado);
            break;
        case TipoElemento::Barras:
            p.codigo = MontarCodigo(e, avisos);
            if (!p.codigo.erro.empty()) {
                avisos.push_back(p.codigo.erro);
                // An empty frame where the code would be, so the place shows.
                p.largura = std::max(static_cast<int>(e.dados.size()) * 11 * std::max(e.barraFina, 1), 20);
                p.altura = std::clamp(e.altura, 10, kMaxLado);
            } else {
                if (e.ancora != Ancora::CaixaGirada && p.codigo.esquerda > 0) {
                    // PPLA and EPL2 place the whole symbol, leading digit included.
                    for (auto& b : p.codigo.barras) b.x += p.codigo.esquerda;
                    for (auto& t : p.codigo.textos) t.x += p.codigo.esquerda;
                    p.codigo.largura += p.codigo.esquerda;
                    p.codigo.esquerda = 0;
                }
                p.largura = p.codigo.largura;
                p.altura = p.codigo.altura;
                p.esquerda = p.codigo.esquerda;
                p.direita = p.codigo.direita;
            }
            break;
        case TipoElemento::Retangulo:
            p.largura = std::clamp(e.largura, 0, kMaxLado * 2);
            p.altura = std::clamp(e.alturaRet, 0, kMaxLado * 2);
            break;
    }
    p.largura = std::min(p.largura, kMaxLado * 4);
    return p;
}

// Local box to image: rotation clockwise by e.rotacao, placed by the anchor.
// `base` is the image row of PPLA's row 0 (PPLA counts up from it).
void Posicionar(Preparado& p, int base) {
    const Elemento& e = *p.e;
    QTransform giro;
    giro.rotate(e.rotacao);
    QTransform t;
    switch (e.ancora) {
        case Ancora::SuperiorEsquerdo: t = giro * QTransform::fromTranslate(e.x, e.y); break;
        case Ancora::InferiorEsquerdo:
            t = QTransform::fromTranslate(0, -p.altura) * giro * QTransform::fromTranslate(e.x, base - e.y);
            break;
        case Ancora::CaixaGirada: {
            const QRectF r = giro.mapRect(QRectF(0, 0, p.largura, p.altura));
            t = giro * QTransform::fromTranslate(e.x - r.left(), e.y - r.top());
            break;
        }
    }
    p.t = t;
    p.caixa = t.mapRect(QRectF(-p.esquerda, 0, p.esquerda + p.largura + p.direita, p.altura)).toAlignedRect();
    p.tinta = p.caixa;
    if (e.tipo == TipoElemento::Texto && e.pintura != Pintura::Inverso) {
        const auto primeiro = e.dados.find_first_not_of(' ');
        if (primeiro == std::string::npos || primeiro >= 4000) {
            p.tinta = QRect();
        } else {
            const auto ultimo = std::min<size_t>(e.dados.find_last_not_of(' ') + 1, 4000);
            const int celula = std::clamp(e.celulaL, 0, kMaxLado);
            p.tinta = t.mapRect(QRectF(primeiro * celula, 0, (ultimo - primeiro) * celula, p.altura)).toAlignedRect();
        }
    }
}

struct Plano {
    std::vector<Preparado> itens;
    int largura = 0, altura = 0;
    std::vector<std::string> avisos;
};

Plano Planejar(const Etiqueta& etq, const Opcoes& o) {
    Plano plano;
    plano.itens.reserve(etq.elementos.size());
    for (const auto& e : etq.elementos) plano.itens.push_back(Preparar(e, plano.avisos));

    bool pplaBase = false;
    for (const auto& e : etq.elementos) pplaBase = pplaBase || e.ancora == Ancora::InferiorEsquerdo;

    // Measured with row 0 at the image's row 0: PPLA fields stand above it.
    // A PPLA printer starts a format at the top of the label with its highest
    // field, so that field's top is the label's top edge.
    int direita = 1, baixo = 1, cima = 0;
    for (auto& p : plano.itens) {
        Posicionar(p, 0);
        direita = std::max(direita, p.caixa.right() + 1);
        baixo = std::max(baixo, p.caixa.bottom() + 1);
        cima = std::min(cima, p.caixa.top());
    }
    const int topo = pplaBase ? std::min(-cima, kMaxLado) : 0;
    int largura = o.larguraDots > 0 ? o.larguraDots : etq.larguraDots;
    int altura = o.alturaDots > 0 ? o.alturaDots : etq.alturaDots;
    const int margem = std::max(o.margem, 0);
    if (largura <= 0) largura = direita + margem;
    if (altura <= 0) altura = topo + baixo + margem;
    if (largura > kMaxLado || altura > kMaxLado) {
        plano.avisos.push_back("Etiqueta de " + std::to_string(largura) + " x " + std::to_string(altura) +
                               " pontos recortada em " + std::to_string(kMaxLado));
    }
    plano.largura = std::clamp(largura, 1, kMaxLado);
    plano.altura = std::clamp(altura, 1, kMaxLado);
    for (auto& p : plano.itens) Posicionar(p, topo);
    return plano;
}

// ---------------------------------------------------------------- painting

void PintarLocal(QPainter& pt, const Preparado& p, const QColor& tinta, const QColor& fundo) {
    const Elemento& e = *p.e;
    switch (e.tipo) {
        case TipoElemento::Texto:
            if (e.pintura == Pintura::Inverso) {
                pt.fillRect(QRect(0, 0, p.largura, p.altura), tinta);
                Escrever(pt, e.dados, 0, 0, e.celulaL, e.celulaA, fundo);
            } else {
                Escrever(pt, e.dados, 0, 0, e.celulaL, e.celulaA, tinta);
            }
            break;
        case TipoElemento::Barras:
            if (!p.codigo.erro.empty()) {
                pt.setPen(QPen(tinta, 1, ::Qt::DashLine));
                pt.setBrush(::Qt::NoBrush);
                pt.drawRect(QRect(0, 0, p.largura - 1, p.altura - 1));
                break;
            }
            for (const auto& b : p.codigo.barras) pt.fillRect(QRect(b.x, b.y, b.largura, b.altura), tinta);
            for (const auto& t : p.codigo.textos) Escrever(pt, t.texto, t.x, t.y, t.celulaL, t.celulaA, tinta);
            break;
        case TipoElemento::Retangulo: {
            const int w = p.largura, h = p.altura;
            const int eh = e.espessuraH, ev = e.espessuraV;
            const bool cheio = (eh <= 0 && ev <= 0) || eh * 2 >= h || ev * 2 >= w;
            if (e.canto > 0 && !cheio) {
                const qreal t = std::max(eh, ev);
                const qreal raio = e.canto / 8.0 * std::min(w, h) / 2.0;
                pt.setPen(QPen(tinta, t));
                pt.setBrush(::Qt::NoBrush);
                pt.drawRoundedRect(QRectF(t / 2, t / 2, w - t, h - t), raio, raio);
            } else if (cheio) {
                pt.fillRect(QRect(0, 0, w, h), tinta);
            } else {
                pt.fillRect(QRect(0, 0, w, eh), tinta);
                pt.fillRect(QRect(0, h - eh, w, eh), tinta);
                pt.fillRect(QRect(0, 0, ev, h), tinta);
                pt.fillRect(QRect(w - ev, 0, ev, h), tinta);
            }
            break;
        }
    }
}

void Pintar(QImage& img, QPainter& pt, const Preparado& p) {
    const Elemento& e = *p.e;
    if (e.pintura != Pintura::Xor) {
        const QColor tinta = e.pintura == Pintura::Branco ? QColor(::Qt::white) : QColor(::Qt::black);
        pt.setTransform(p.t);
        PintarLocal(pt, p, tinta, ::Qt::white);
        return;
    }
    // Drawn on a layer of its own, then every dot it covers is flipped.
    const QRect area = p.caixa.intersected(img.rect());
    if (area.isEmpty()) return;
    QImage camada(area.size(), QImage::Format_ARGB32_Premultiplied);
    camada.fill(::Qt::transparent);
    {
        QPainter pc(&camada);
        pc.setTransform(p.t * QTransform::fromTranslate(-area.left(), -area.top()));
        PintarLocal(pc, p, ::Qt::black, ::Qt::transparent);
    }
    for (int y = 0; y < area.height(); ++y) {
        const auto* origem = reinterpret_cast<const QRgb*>(camada.constScanLine(y));
        auto* destino = reinterpret_cast<QRgb*>(img.scanLine(area.top() + y)) + area.left();
        for (int x = 0; x < area.width(); ++x)
            if (qAlpha(origem[x]) > 127) destino[x] ^= 0x00FFFFFFu;
    }
}

Geometria GeometriaDe(const Plano& plano) {
    Geometria g;
    g.largura = plano.largura;
    g.altura = plano.altura;
    g.avisos = plano.avisos;
    for (const auto& p : plano.itens)
        g.posicoes.push_back({p.e->tipo, p.caixa, p.e->dados, p.e->comando, p.e->simbologia, p.tinta});
    return g;
}

}  // namespace

Geometria Medir(const Etiqueta& etiqueta, int dpi, const Opcoes& opcoes) {
    (void)dpi;
    return GeometriaDe(Planejar(etiqueta, opcoes));
}

QImage Desenhar(const Etiqueta& etiqueta, int dpi, const Opcoes& opcoes, Geometria* geometria) {
    (void)dpi;
    Plano plano = Planejar(etiqueta, opcoes);
    QImage img(plano.largura, plano.altura, QImage::Format_RGB32);
    img.fill(::Qt::white);
    {
        QPainter pt(&img);
        pt.setRenderHint(QPainter::Antialiasing, false);
        pt.setRenderHint(QPainter::TextAntialiasing, false);
        for (const auto& p : plano.itens) {
            if (p.caixa.intersects(img.rect()) || p.caixa.isEmpty()) Pintar(img, pt, p);
        }
    }
    if (etiqueta.girar180) img = img.transformed(QTransform().rotate(180));
    if (geometria) *geometria = GeometriaDe(plano);
    return img;
}

Previa Visualizar(std::string_view fluxo, Linguagem linguagem, int dpi, const Opcoes& opcoes, int maxImagens) {
    Previa r;
    r.leitura = Ler(fluxo, linguagem, dpi);
    r.avisos = r.leitura.avisos;
    for (const auto& etq : r.leitura.etiquetas) {
        if (static_cast<int>(r.imagens.size()) >= maxImagens) break;
        Geometria g;
        QImage img = Desenhar(etq, dpi, opcoes, &g);
        r.avisos.insert(r.avisos.end(), g.avisos.begin(), g.avisos.end());
        for (int c = 0; c < etq.copias && static_cast<int>(r.imagens.size()) < maxImagens; ++c)
            r.imagens.push_back(img);
    }
    return r;
}

std::string NomeImagemPng(int indice) {
    char nome[32];
    (void)std::snprintf(nome, sizeof nome, "etiqueta-%04d.png", indice + 1);  // an int: always fits
    return nome;
}

bool GravarPng(const QImage& img, const std::string& arquivo) {
    return img.convertToFormat(QImage::Format_Mono, ::Qt::ThresholdDither).save(QString::fromStdString(arquivo), "PNG");
}

std::unique_ptr<QGuiApplication> GarantirAplicacaoGrafica() {
    if (QCoreApplication::instance()) return nullptr;
    PrepararPastaExecucao();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char nome[] = "etiquetas";
    static char* argv[] = {nome, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace previa
