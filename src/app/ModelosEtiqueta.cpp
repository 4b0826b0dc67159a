#include "app/ModelosEtiqueta.h"

#include "labels/InfoModelos.h"

const std::vector<std::string>& LinhasModelo() {
    static const std::vector<std::string> linhas = [] {
        std::vector<std::string> r;
        for (const TInfoModelo& m : InfoModelos()) r.push_back(m.linha);
        return r;
    }();
    return linhas;
}
