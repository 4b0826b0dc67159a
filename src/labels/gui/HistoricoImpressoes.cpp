#include "labels/gui/HistoricoImpressoes.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "common/UFuncoes.h"
#include "common/gui/FuncoesGui.h"

namespace {

std::string DataHora(TDateTime d) {
    return d > 0 ? FormataData("DD/MM/AAAA", d) + " " + FormataData("HH:MM:SS", d) : std::string();
}

// Every column of the window, in order: its title, what a run shows in it and
// what a queue row under the run shows. How a run ended comes first.
struct TColunaHistorico {
    const char* titulo;
    std::string (*registro)(const TRegistroDiario&);
    std::string (*item)(const TItemDiario&);
    int larguraMaxima;  // 0: as wide as its contents
};

const std::vector<TColunaHistorico>& Colunas() {
    static const std::vector<TColunaHistorico> colunas = {
        {"Situação", [](const TRegistroDiario& r) { return r.SITUACAO; }, nullptr, 0},
        {"Entregues",
         [](const TRegistroDiario& r) { return std::to_string(r.ENTREGUES) + " de " + std::to_string(r.A_ENVIAR); },
         [](const TItemDiario& i) { return std::to_string(i.ENTREGUES) + " de " + std::to_string(i.QUANTIDADE); }, 0},
        {"Nº / Código", [](const TRegistroDiario& r) { return std::to_string(r.ID); },
         [](const TItemDiario& i) { return i.CODIGO; }, 0},
        {"Início / Barras", [](const TRegistroDiario& r) { return DataHora(r.INICIO); },
         [](const TItemDiario& i) { return i.BARRAS; }, 0},
        {"Fim / Grade", [](const TRegistroDiario& r) { return DataHora(r.FIM); },
         [](const TItemDiario& i) { return i.NRO_LOTE; }, 0},
        {"Modelo / Nome", [](const TRegistroDiario& r) { return "modelo " + ZerosEsquerda(r.MODELO, 2); },
         [](const TItemDiario& i) { return i.NOME; }, 260},
        {"Porta", [](const TRegistroDiario& r) { return r.PORTA; }, nullptr, 200},
        {"Linguagem", [](const TRegistroDiario& r) { return r.LINGUAGEM; }, nullptr, 0},
        {"Estação", [](const TRegistroDiario& r) { return r.ESTACAO; }, nullptr, 150},
        {"Usuário", [](const TRegistroDiario& r) { return r.USUARIO; }, nullptr, 120},
        {"Continua",
         [](const TRegistroDiario& r) {
             return r.CONTINUA > 0 ? "continua " + std::to_string(r.CONTINUA) : std::string();
         },
         nullptr, 0},
        {"Mensagem", [](const TRegistroDiario& r) { return r.MENSAGEM; }, nullptr, 400},
        {"Observação", [](const TRegistroDiario& r) { return r.OBSERVACAO; }, nullptr, 0},
    };
    return colunas;
}

// What each ending means, for the legend and the situation's tool tip.
const std::vector<std::pair<std::string, std::string>>& Situacoes() {
    static const std::vector<std::pair<std::string, std::string>> s = {
        {kInteira, "todas as etiquetas chegaram à impressora"},
        {kCancelada, "parada com Cancelar antes do fim"},
        {kFalha, "a impressora ou a porta falhou; a mensagem diz por quê"},
        {kIncompleta, "enviada inteira, menos as linhas cujas mercadorias não existiam mais"},
        {kEmCurso, "ainda imprimindo, ou interrompida (programa fechado, conexão perdida) sem registrar o fim"},
    };
    return s;
}

std::string SignificadoSituacao(const std::string& situacao) {
    for (const auto& [s, texto] : Situacoes())
        if (s == situacao) return texto;
    return "não terminou inteira";
}

}  // namespace

std::vector<std::string> TitulosHistorico() {
    std::vector<std::string> t;
    for (const auto& c : Colunas()) t.emplace_back(c.titulo);
    return t;
}

TfrmHistoricoImpressoes::TfrmHistoricoImpressoes(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmHistoricoImpressoes"));
    setWindowTitle(QStringLiteral("Histórico de impressões"));
    resize(1000, 480);
    auto* layout = new QVBoxLayout(this);
    lblAviso = new QLabel(this);
    lblAviso->setObjectName(QStringLiteral("lblAviso"));
    lblAviso->setWordWrap(true);
    lblAviso->setVisible(false);
    layout->addWidget(lblAviso);
    arvore = new QTreeWidget(this);
    arvore->setObjectName(QStringLiteral("arvore"));
    QStringList titulos;
    for (const auto& c : Colunas()) titulos << QString::fromUtf8(c.titulo);
    arvore->setHeaderLabels(titulos);
    arvore->setAlternatingRowColors(true);
    arvore->header()->setStretchLastSection(true);
    layout->addWidget(arvore);

    std::string legenda = "Em vermelho, as impressões que não terminaram inteiras:";
    for (const auto& [s, texto] : Situacoes())
        if (s != kInteira) legenda += " " + s + ": " + texto + ".";
    legenda += " Abra uma impressão (▸) para ver as linhas da fila e quantas etiquetas de cada chegaram.";
    lblLegenda = new QLabel(ParaQString(legenda), this);
    lblLegenda->setObjectName(QStringLiteral("lblLegenda"));
    lblLegenda->setWordWrap(true);
    lblLegenda->setStyleSheet(QStringLiteral("color: darkred"));
    layout->addWidget(lblLegenda);

    auto* fechar = new QPushButton(QStringLiteral("Fechar"), this);
    fechar->setObjectName(QStringLiteral("btnFechar"));
    connect(fechar, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(fechar, 0, Qt::AlignRight);
}

void TfrmHistoricoImpressoes::Mostrar(const std::vector<TRegistroDiario>& runs, const std::string& aviso) {
    arvore->clear();
    lblAviso->setText(ParaQString(aviso));
    lblAviso->setVisible(!aviso.empty());
    if (aviso.empty() && runs.empty()) {
        lblAviso->setText(QStringLiteral("Nenhuma impressão registrada."));
        lblAviso->setVisible(true);
    }
    const auto& colunas = Colunas();
    bool algumaVermelha = false;
    for (const auto& r : runs) {
        auto* item = new QTreeWidgetItem(arvore);
        for (size_t k = 0; k < colunas.size(); ++k) {
            const QString t = ParaQString(colunas[k].registro(r));
            item->setText(static_cast<int>(k), t);
            if (colunas[k].larguraMaxima > 0 && !t.isEmpty()) item->setToolTip(static_cast<int>(k), t);
        }
        item->setToolTip(0, ParaQString(r.SITUACAO + ": " + SignificadoSituacao(r.SITUACAO)));
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        // A print that did not end whole stands out.
        if (r.SITUACAO != kInteira) {
            algumaVermelha = true;
            for (int k = 0; k < static_cast<int>(colunas.size()); ++k) item->setForeground(k, QBrush(Qt::darkRed));
        }
        for (const auto& i : r.itens) {
            auto* linha = new QTreeWidgetItem(item);
            for (size_t k = 0; k < colunas.size(); ++k)
                if (colunas[k].item) linha->setText(static_cast<int>(k), ParaQString(colunas[k].item(i)));
            linha->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
            linha->setToolTip(5, linha->text(5));
        }
    }
    lblLegenda->setVisible(algumaVermelha);
    AjustarColunas();
}

void TfrmHistoricoImpressoes::AjustarColunas() {
    // As wide as the contents, but a long name, port or message no wider than
    // its limit (the whole text in the tool tip), so how the runs ended and
    // what they delivered stay in sight.
    const auto& colunas = Colunas();
    for (size_t k = 0; k < colunas.size(); ++k) {
        const int c = static_cast<int>(k);
        arvore->resizeColumnToContents(c);
        if (colunas[k].larguraMaxima > 0 && arvore->columnWidth(c) > colunas[k].larguraMaxima)
            arvore->setColumnWidth(c, colunas[k].larguraMaxima);
    }
}
