#pragma once
// What the goods window opens when no label queue window is installed: a
// plain box saying how many rows the queue holds, so the road can be walked.
#include "interface/JanelaEtiquetas.h"

class QWidget;
class TdtmAplicativo;

class TFilaProvisoria final : public TJanelaEtiquetas {
public:
    TFilaProvisoria(TdtmAplicativo& dtm, QWidget* dono) : dtm_(dtm), dono_(dono) {}
    void ShowModal() override;

private:
    TdtmAplicativo& dtm_;
    QWidget* dono_;
};
