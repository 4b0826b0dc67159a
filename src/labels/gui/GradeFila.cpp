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

void TGradeFila::keyPressEvent(QKeyEvent* evento) {
    const bool apagar = evento->key() == Qt::Key_Delete;
    if (apagar && ((evento->modifiers() & Qt::ControlModifier) || state() != QAbstractItemView::EditingState)) {
        emit PediuExclusao();
        evento->accept();
        return;
    }
    QTableView::keyPressEvent(evento);
}
