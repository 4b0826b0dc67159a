#include "labels/gui/GradeFila.h"

#include <QKeyEvent>

TGradeFila::TGradeFila(QWidget* parent) : QTableView(parent) {}

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
