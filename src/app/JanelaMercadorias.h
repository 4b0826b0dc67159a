#pragma once
// The goods filter window as the main window sees it: three flags set before
// it is shown, and a modal show. The goods work provides the window; the
// program entry installs it on the main window.
#include <cstdint>

class TJanelaMercadorias {
public:
    virtual ~TJanelaMercadorias() = default;

    bool ProcessarGrades = false;
    bool ImportaBaseVitrinex = false;
    uint8_t AcessoDireto = 0;  // 1 in direct mode
    // The next showing checks "Somente com etiqueta desatualizada" (the main
    // window's line of stale labels); cleared by the showing.
    bool SomenteDesatualizadas = false;

    // Shows the window modally and returns when it closes.
    virtual void ShowModal() = 0;
};
