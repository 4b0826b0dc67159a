#include "app/Manual.h"

#include <QDesktopServices>
#include <QUrl>

#include <filesystem>

#include "common/ConfigEtq.h"
#include "common/Excecoes.h"
#include "common/UFuncoes.h"

std::string CaminhoManual() {
    std::vector<std::string> candidatos;
    if (!PastaDadosInstalacao().empty())
        candidatos.push_back(DiretorioSistema() + "../share/doc/etiquetas/manual/index.html");
    candidatos.push_back(std::string(ETIQ_FONTE_PROJETO) + "/docs/manual/index.html");
    std::error_code ec;
    for (const auto& c : candidatos)
        if (std::filesystem::is_regular_file(c, ec)) return std::filesystem::weakly_canonical(c, ec).string();
    return "";
}

void AbrirManual(QWidget*) {
    const std::string manual = CaminhoManual();
    if (manual.empty()) throw Exception("O manual não foi encontrado nesta instalação.");
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(manual))))
        throw Exception("Não foi possível abrir o navegador para mostrar o manual: " + manual);
}
