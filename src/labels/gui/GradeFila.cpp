#include "labels/gui/GradeFila.h"

#include <QKeyEvent>
#include <QStyledItemDelegate>

namespace {

// Qt ends a cell edit on Enter with a queued call: keys typed at once after
// Enter (a fast hand, a scanner) still reached the open editor and were added
// to the count just typed. Here Enter commits and closes at once.
class TDelegadoFila : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override {
        if (evento->type() == QEvent::KeyPress) {
            const int tecla = static_cast<QKeyEvent*>(evento)->key();
            auto* editor = qobject_cast<QWidget*>(objeto);
            if (editor && (tecla == Qt::Key_Return || tecla == Qt::Key_Enter)) {
                emit commitData(editor);
                emit closeEditor(editor, QAbstractItemDelegate::SubmitModelCache);
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(objeto, evento);
    }
};

}  // namespace

TGradeFila::TGradeFila(QWidget* parent) : QTableView(parent) { setItemDelegate(new TDelegadoFila(this)); }

void TGradeFila::ConfirmarEdicao() {
    if (state() != QAbstractItemView::EditingState) return;
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

bool TGradeFila::edit(const QModelIndex& indice, EditTrigger gatilho, QEvent* evento) {
    // Qt opens the editor of a clicked current cell only after a double-click
    // interval and drops every key typed meanwhile: a count typed right after
    // the click was lost. Open it now, as Qt's own timer would.
    if (gatilho == SelectedClicked) return QTableView::edit(indice, AllEditTriggers, evento);
    return QTableView::edit(indice, gatilho, evento);
}

void TGradeFila::keyPressEvent(QKeyEvent* evento) {
    const bool apagar = evento->key() == Qt::Key_Delete;
    if (apagar && ((evento->modifiers() & Qt::ControlModifier) || state() != QAbstractItemView::EditingState)) {
        emit PediuExclusao();
        evento->accept();
        return;
    }
    QTableView::keyPressEvent(evento);
}

void TGradeFila::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint dica) {
    const QModelIndex atual = currentIndex();
    QTableView::closeEditor(editor, dica);
    // Enter ends a count (the delegate submits): the next one goes to the next row.
    if (dica != QAbstractItemDelegate::SubmitModelCache || !atual.isValid() || !model()) return;
    if (atual.row() + 1 < model()->rowCount()) {
        const QModelIndex proximo = model()->index(atual.row() + 1, atual.column());
        setCurrentIndex(proximo);
        scrollTo(proximo);
    }
}
