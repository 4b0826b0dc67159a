#include "app/GaleriaPainel.h"

#include <QLabel>
#include <QPixmap>
#include <QTimer>

#include "common/TextosLoja.h"
#include "common/gui/FuncoesGui.h"
#include "data/udtmAplicativo.h"
#include "labels/InfoModelos.h"
#include "previa/Galeria.h"

namespace {

// The model number at the start of a list line ("07 - ..." gives 7), 0 when none.
int NumeroDaLinha(const std::string& linha) {
    if (linha.size() < 2 || linha[0] < '0' || linha[0] > '9' || linha[1] < '0' || linha[1] > '9') return 0;
    return (linha[0] - '0') * 10 + (linha[1] - '0');
}

}  // namespace

TGaleriaPainel::TGaleriaPainel(QWidget* pai) : QFrame(pai) {
    setObjectName("pnlGaleria");
    setFrameShape(QFrame::StyledPanel);
    lblFigura = new QLabel(this);
    lblFigura->setObjectName("lblFigura");
    lblFigura->setAlignment(Qt::AlignCenter);
    lblFigura->setWordWrap(true);
    auto linha = [this](const char* nome) {
        auto* l = new QLabel(this);
        l->setObjectName(nome);
        l->setWordWrap(true);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return l;
    };
    lblTamanho = linha("lblTamanho");
    lblLinguagem = linha("lblLinguagem");
    lblAviso = linha("lblAviso");
    lblAviso->setStyleSheet(QStringLiteral("color: maroon"));
}

TGaleriaPainel::~TGaleriaPainel() = default;

void TGaleriaPainel::Mostrar(const std::string& linhaModelo, const std::string& linguagem, const std::string& nomeLoja,
                             const std::string& textoLoja) {
    linha_ = linhaModelo;
    linguagem_ = linguagem;
    nomeLoja_ = nomeLoja;
    textoLoja_ = textoLoja;
    if (pendente_) return;
    pendente_ = true;
    // The panel shows first; the picture follows when the event loop is free.
    QTimer::singleShot(0, this, [this] {
        if (pendente_) DesenharAgora();
    });
}

void TGaleriaPainel::DesenharAgora() {
    pendente_ = false;
    // The picture on top, the size and language lines under it.
    const int w = width() - 16, alturaFigura = height() * 62 / 100;
    lblFigura->setGeometry(8, 8, w, alturaFigura);
    lblTamanho->setGeometry(8, alturaFigura + 14, w, 36);
    lblLinguagem->setGeometry(8, alturaFigura + 52, w, 36);
    lblAviso->setGeometry(8, alturaFigura + 90, w, height() - alturaFigura - 96);

    const int numero = NumeroDaLinha(linha_);
    if (numero < 1 || numero > static_cast<int>(InfoModelos().size())) {
        lblFigura->setPixmap(QPixmap());
        lblFigura->setText(QStringLiteral("Escolha um modelo da lista para ver a etiqueta."));
        lblTamanho->clear();
        lblLinguagem->clear();
        lblAviso->clear();
        return;
    }
    const TInfoModelo& info = InfoModelo(numero);
    if (!galeria_) {
        dtm_ = std::make_unique<TdtmAplicativo>();  // model 09 reads its format table from the shop
        galeria_ = std::make_unique<previa::TGaleriaModelos>(*dtm_);
    }
    // Pictures drawn with other shop texts are drawn again.
    if (nomeDesenhado_ != nomeLoja_ || textoDesenhado_ != textoLoja_) {
        galeria_->Esquecer();
        nomeDesenhado_ = nomeLoja_;
        textoDesenhado_ = textoLoja_;
    }
    const TTextosLojaProvisorios textos(nomeLoja_, textoLoja_);
    // A4 sheets are the same in any language.
    const previa::TFiguraModelo& f = galeria_->Figura(numero, info.tipo == TTipoModelo::A4 ? "" : linguagem_);
    if (f.imagem.isNull()) {
        lblFigura->setPixmap(QPixmap());
        lblFigura->setText(ParaQString(f.erro));
    } else {
        lblFigura->setText(QString());
        QPixmap px = QPixmap::fromImage(f.imagem);
        if (px.width() > lblFigura->width() || px.height() > lblFigura->height())
            px = px.scaled(lblFigura->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
        lblFigura->setPixmap(px);
    }
    const std::string tamanho = info.tipo == TTipoModelo::A4
                                    ? "Folha A4, " + std::to_string(info.porLinha) + " etiquetas por linha"
                                    : "Etiqueta " + std::string(NomeTipoModelo(info.tipo)) + ": " + TamanhoModelo(info);
    lblTamanho->setText(ParaQString(tamanho));
    if (info.tipo == TTipoModelo::A4)
        lblLinguagem->setText(QStringLiteral("Impressa pela folha A4, sem linguagem de impressora."));
    else
        lblLinguagem->setText(ParaQString("Escrito para " + info.escritoPara + "; configurada: " +
                                          (linguagem_.empty() ? std::string("nenhuma") : linguagem_) + "."));
    lblAviso->setText(ParaQString(AvisoLinguagem(info, linguagem_)));
}
