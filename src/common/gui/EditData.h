#pragma once
// A date field (DD/MM/AAAA with a calendar) that takes a date typed as it is
// written: "01/01/2025" lands as 01/01/2025. Qt's own field moves to the next
// part after two digits, so the "/" typed next skipped a whole part (the year
// got what was meant for the month); here a separator right after a part is
// filled is the mask's own and is skipped. Eight digits typed in a row from
// the first part are taken whole, so a day the field's month or year could
// not hold on the way (29/02/2024 typed over 11/12/2026) is not cut short.
// Coming back to the field starts at the day, not in the part typed last.
#include <QDateEdit>
#include <QString>

class TEditData : public QDateEdit {
public:
    explicit TEditData(const QDate& data, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* evento) override;
    void focusInEvent(QFocusEvent* evento) override;

private:
    QString digitos_;  // digits typed in a row from the day's first one
};
