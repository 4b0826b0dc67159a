#include "goods/gui/FilaProvisoria.h"

#include <QMessageBox>

#include "data/udtmAplicativo.h"

void TFilaProvisoria::ShowModal() {
    fb::TQuery q(dtm_.dtbAplicativo, dtm_.ibtAplicativo);
    q.Add("select count(*) from ETIQUETAREAD");
    q.Open();
    const long long n = q.Eof() ? 0 : q.FieldByName(q.NomesDosCampos().at(0)).AsInteger();
    q.Close();
    QMessageBox caixa(QMessageBox::Information, QStringLiteral("Fila de etiquetas"),
                      QString::fromUtf8("A fila de etiquetas tem %1 linha(s).").arg(n), QMessageBox::Ok, dono_);
    caixa.setObjectName("FilaProvisoria");
    caixa.exec();
}
