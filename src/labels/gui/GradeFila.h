#pragma once
// The queue grid: a table view that can hand its open cell editor's text to
// the table before a print, and asks to delete the current row on
// Ctrl+Delete (or Delete outside a cell editor). It never adds rows. A click
// on the current cell opens its editor at once. Enter in a cell editor moves
// to the same column of the next row, so the next count typed goes there.
#include <QTableView>

class TGradeFila : public QTableView {
    Q_OBJECT
public:
    explicit TGradeFila(QWidget* parent = nullptr);
    // What is typed in an open cell editor reaches the model, and the editor closes.
    void ConfirmarEdicao();
    using QTableView::edit;

signals:
    void PediuExclusao();

protected:
    void keyPressEvent(QKeyEvent* evento) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint dica) override;
    bool edit(const QModelIndex& indice, EditTrigger gatilho, QEvent* evento) override;
};
