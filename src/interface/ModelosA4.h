#pragma once
// The models printed on A4 sheets rather than by a label printer. Header only
// and free of Qt, so the goods side can ask without linking the sheet forms.

// True for 20, 26, 28, 32, 33, 34, 35, 39, 42 and 55.
inline bool EhModeloA4(int modelo) {
    switch (modelo) {
        case 20:
        case 26:
        case 28:
        case 32:
        case 33:
        case 34:
        case 35:
        case 39:
        case 42:
        case 55: return true;
        default: return false;
    }
}
