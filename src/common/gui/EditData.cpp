#include "common/gui/EditData.h"

#include <QKeyEvent>
#include <QLineEdit>

TEditData::TEditData(const QDate& data, QWidget* parent) : QDateEdit(data, parent) {
    setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    setCalendarPopup(true);
}

void TEditData::focusInEvent(QFocusEvent* evento) {
    digitos_.clear();
    QDateEdit::focusInEvent(evento);
    // Coming back to the field starts a date at its day, not in the part
    // typed last (a click on a part places the cursor there afterwards).
    setSelectedSection(QDateTimeEdit::DaySection);
}

void TEditData::keyPressEvent(QKeyEvent* evento) {
    const QString texto = evento->text();
    QLineEdit* linha = lineEdit();
    const int pos = linha->hasSelectedText() ? linha->selectionStart() : linha->cursorPosition();
    if (texto.size() == 1 && QStringLiteral("/-.").contains(texto)) {
        // Right after a separator: the field moved past it by itself.
        if (pos > 0 && !linha->text().at(pos - 1).isDigit()) {
            evento->accept();
            return;
        }
        QDateEdit::keyPressEvent(evento);
        return;
    }
    if (texto.size() == 1 && texto.at(0).isDigit()) {
        if (pos == 0)
            digitos_ = texto;
        else if (!digitos_.isEmpty())
            digitos_ += texto;
        QDateEdit::keyPressEvent(evento);
        if (digitos_.size() == 8) {
            const QDate data = QDate::fromString(digitos_, QStringLiteral("ddMMyyyy"));
            digitos_.clear();
            if (data.isValid()) setDate(data);
        }
        return;
    }
    digitos_.clear();
    QDateEdit::keyPressEvent(evento);
}
