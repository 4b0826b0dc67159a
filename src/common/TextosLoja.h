#pragma once
// The shop's texts some labels print (NomeLoja, TextoLoja in ConfigEtq.h),
// as the configuration panel shows them before they are saved.
#include <string>

// While it lives, NomeLoja and TextoLoja answer these texts instead of the
// file's: the panel draws a model with what is being typed. One at a time,
// on the thread that draws.
class TTextosLojaProvisorios {
public:
    TTextosLojaProvisorios(std::string nome, std::string texto);
    ~TTextosLojaProvisorios();
    TTextosLojaProvisorios(const TTextosLojaProvisorios&) = delete;
    TTextosLojaProvisorios& operator=(const TTextosLojaProvisorios&) = delete;
};
