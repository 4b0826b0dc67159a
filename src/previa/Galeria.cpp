#include "previa/Galeria.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <exception>

#include "common/UFuncoes.h"
#include "device/CdbDevice.h"
#include "labels/ImpressaoEtiquetas.h"
#include "labels/InfoModelos.h"
#include "labels/Modelos.h"
#include "labels/a4/FormulariosA4.h"
#include "previa/Desenho.h"

namespace previa {

namespace {

TMercadoria Amostra(int64_t cod, std::string barras, std::string nome, std::string ref, const char* preco) {
    TMercadoria m;
    m.COD_RED = cod;
    m.COD_BAR = std::move(barras);
    m.NOM_MER = std::move(nome);
    m.APE_CUP = Trecho(m.NOM_MER, 1, 23);
    m.REF_MER = std::move(ref);
    m.LOC_MER = "A1";
    m.UNI_MER = "UNID";
    m.APLICACAO = "Uso adulto";
    m.APLICACAO2 = "Lavar a mao";
    m.VLR_VEN = Decimal::DeTexto(preco);
    m.VLR_VEN_2 = m.VLR_VEN;
    m.VLR_VEN_3 = m.VLR_VEN;
    m.GARANTIA = 90;
    return m;
}

TLinhaFila Linha(const TMercadoria& m, std::string lote = "") {
    TLinhaFila l;
    l.CODIGO = std::to_string(m.COD_RED);
    l.BARRAS = m.COD_BAR;
    l.NOME = lote.empty() ? m.NOM_MER : m.NOM_MER + " " + lote;
    l.SO_NOME = m.NOM_MER;
    l.NRO_LOTE = std::move(lote);
    l.VLR_VEN = m.VLR_VEN;
    l.QUANTIDADE = Decimal(1);
    return l;
}

TCdbETQModelo ModeloDaLinguagem(const std::string& l) {
    if (l == "PPLB") return etqPplb;
    if (l == "ZPL") return etqZPLII;
    if (l == "EPL2") return etqEpl2;
    return etqPpla;
}

int Dots(double mm, int dpi) { return static_cast<int>(std::lround(mm * dpi / 25.4)); }

// The labels side by side on a light background, each framed as its stock.
QImage LadoALado(const std::vector<QImage>& etiquetas) {
    constexpr int kEspaco = 16;
    int largura = kEspaco, altura = 0;
    for (const auto& e : etiquetas) {
        largura += e.width() + kEspaco;
        altura = std::max(altura, e.height());
    }
    QImage r(largura, altura + 2 * kEspaco, QImage::Format_RGB32);
    r.fill(QColor(0xf4, 0xf4, 0xf4));
    QPainter p(&r);
    int x = kEspaco;
    for (const auto& e : etiquetas) {
        p.drawImage(x, kEspaco, e);
        // A light frame a few dots off the label: a code near the edge keeps its quiet zone.
        p.setPen(QColor(0xcc, 0xcc, 0xcc));
        p.drawRect(x - 6, kEspaco - 6, e.width() + 11, e.height() + 11);
        x += e.width() + kEspaco;
    }
    return r;
}

TFiguraModelo Termico(const TInfoModelo& info, const std::string& linguagem, TdtmAplicativo& dtm) {
    TFiguraModelo f;
    const TAmostra& amostra = AmostraGaleria();
    TImpressaoEtiquetas imp(dtm);
    imp.PausaMs = 0;
    auto busca = std::make_unique<TBuscaMercadoriasMemoria>();
    for (const auto& m : amostra.mercadorias) busca->linhas[std::to_string(m.COD_RED)] = m;
    imp.BuscaMercadorias = std::move(busca);
    imp.FilaEmMemoria = &amostra.fila;
    imp.EdtP1 = "3";
    imp.edtP2 = "0";
    imp.ModeloImpressora = "ARGOX";

    const TCdbETQModelo modelo = ModeloDaLinguagem(linguagem);
    Opcoes tamanho;
    if (info.alturaMm > 0) tamanho.alturaDots = Dots(info.alturaMm, f.dpi);
    std::vector<QImage> etiquetas;
    // One row is enough: a model of one label per row shows two labels.
    const size_t quantas = info.porLinha > 1 ? 1 : 2;
    size_t trabalhos = 0;
    TCdbETQ& etq = imp.CdbETQ;
    etq.SetModelo(modelo);
    etq.SetPorta("DLL");
    etq.Device().HookEnviaString = [&](const std::string& fluxo) {
        if (trabalhos++ >= quantas) return;
        const Previa p = Visualizar(fluxo, LinguagemDoModelo(modelo), f.dpi, tamanho, 4);
        f.avisos.insert(f.avisos.end(), p.avisos.begin(), p.avisos.end());
        etiquetas.insert(etiquetas.end(), p.imagens.begin(), p.imagens.end());
        for (const auto& e : p.leitura.etiquetas)
            for (const auto& el : e.elementos)
                if (el.tipo == TipoElemento::Barras)
                    for (int c = 0; c < e.copias; ++c) f.codigos.push_back(el.dados);
    };
    try {
        etq.Ativar();
        ExecutarModelo(imp, info.numero);
        etq.Desativar();
    } catch (const std::exception& e) {
        f.erro = e.what();
    }
    etq.Device().HookEnviaString = nullptr;
    if (f.erro.empty() && etiquetas.empty())
        f.erro = "o modelo não compôs nenhuma etiqueta com as mercadorias de exemplo";
    if (!f.erro.empty()) {
        f.erro = "Não foi possível desenhar o modelo " + ZerosEsquerda(info.numero, 2) + ": " + f.erro;
        return f;
    }
    f.imagem = LadoALado(etiquetas);
    return f;
}

TFiguraModelo FolhaA4(const TInfoModelo& info) {
    TFiguraModelo f;
    f.dpi = 96;
    try {
        const TDadosLoja loja = LerDadosLoja();
        TFormularioA4 form = CriaFormularioA4(info.numero, loja);
        ConfiguraBarrasA4(form, info.numero, 1, 0);
        std::vector<TLinhasCelula> celulas;
        const TAmostra& amostra = AmostraGaleria();
        for (int i = 0; i < form.CelulasPorPagina(); ++i) {
            const TMercadoria& m = amostra.mercadorias[static_cast<size_t>(i) % amostra.mercadorias.size()];
            celulas.push_back(TextosCelulaA4(info.numero, m, Trecho(loja.nome, 1, 70)));
        }
        TCelulasEmMemoria fonte(std::move(celulas));
        QImage pagina(794, 1123, QImage::Format_RGB32);  // A4 at 96 per inch
        pagina.fill(Qt::white);
        QPainter p(&pagina);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QColor(0x9c, 0xc3, 0xe6));
        const double larg = form.LarguraCelulaMm() / MmPorPx, alt = form.AlturaCelulaMm() / MmPorPx;
        for (int n = 0; n < form.CelulasPorPagina(); ++n) {
            int pag;
            double x, y;
            form.PosicaoCelula(n, pag, x, y);
            p.drawRect(QRectF(x / MmPorPx, y / MmPorPx, larg, alt));
        }
        PintaPrimeiraPagina(form, fonte, p);
        p.setPen(QColor(0x90, 0x90, 0x90));
        p.drawRect(pagina.rect().adjusted(0, 0, -1, -1));
        p.end();
        f.imagem = pagina;
    } catch (const std::exception& e) {
        f.erro = "Não foi possível desenhar o modelo " + ZerosEsquerda(info.numero, 2) + ": " + e.what();
    }
    return f;
}

}  // namespace

const TAmostra& AmostraGaleria() {
    static const TAmostra a = [] {
        TAmostra r;
        r.mercadorias = {
            Amostra(101, "7891234567895", "CAMISETA BASICA ALGODAO MANGA CURTA GOLA V AZUL MARINHO", "CB-0142", "29.9"),
            Amostra(102, "78912345", "MEIA", "M2", "5.5"),
        };
        r.fila = {Linha(r.mercadorias[0]), Linha(r.mercadorias[1]), Linha(r.mercadorias[0], "AZUL M")};
        return r;
    }();
    return a;
}

TFiguraModelo DesenharModelo(int modelo, const std::string& linguagem, TdtmAplicativo& dtm) {
    TFiguraModelo f;
    try {
        const TInfoModelo& info = InfoModelo(modelo);
        if (info.tipo == TTipoModelo::A4) return FolhaA4(info);
        return Termico(info, linguagem.empty() ? info.escritoPara : linguagem, dtm);
    } catch (const std::exception& e) {
        f.erro = e.what();
    }
    return f;
}

QImage ImagemDoMotivo(const std::string& motivo) {
    QImage r(480, 160, QImage::Format_RGB32);
    r.fill(QColor(0xfd, 0xf3, 0xe7));
    QPainter p(&r);
    p.setPen(QColor(0x90, 0x40, 0x00));
    p.drawRect(r.rect().adjusted(0, 0, -1, -1));
    QFont fonte = p.font();
    fonte.setPixelSize(14);
    p.setFont(fonte);
    p.drawText(r.rect().adjusted(12, 12, -12, -12), Qt::AlignCenter | Qt::TextWordWrap, QString::fromStdString(motivo));
    return r;
}

const TFiguraModelo& TGaleriaModelos::Figura(int modelo, const std::string& linguagem) {
    const auto chave = std::make_pair(modelo, linguagem);
    auto it = cache_.find(chave);
    if (it == cache_.end()) it = cache_.emplace(chave, DesenharModelo(modelo, linguagem, dtm_)).first;
    return it->second;
}

}  // namespace previa
