// etiquetas-cli formato: the model 09 label design of the shop database as a
// text file, to copy it between shops or keep it under version control.
#include <fstream>
#include <iostream>
#include <utility>

#include "Comandos.h"
#include "common/ArquivoComum.h"
#include "common/ConfigEtq.h"
#include "common/Excecoes.h"
#include "data/udtmAplicativo.h"
#include "labels/Leiaute09.h"

namespace {

int Exportar(fb::TDatabase& banco, const std::string& arquivo) {
    const TLeiaute09 leiaute = LerLeiaute09(banco);
    std::ofstream f(arquivo, std::ios::binary | std::ios::trunc);
    f << TextoLeiaute09(leiaute);
    f.close();
    if (!f) throw Exception("Não foi possível gravar " + arquivo);
    std::cout << "Desenho do modelo 09 exportado para " << arquivo << " (" << leiaute.campos.size() << " campo(s))"
              << (leiaute.Vazio() ? ": a tabela FormatMrg não tem desenho" : "") << ".\n";
    return 0;
}

// The file is read and checked before the database is reached: a file that
// cannot be a design never costs a connection, and never wipes the table.
TLeiaute09 LerArquivo09(const std::string& arquivo) {
    std::string bytes;
    try {
        bytes = LerArquivoComum(arquivo, kTamanhoMaximoArquivo09, "um desenho de etiqueta");
    } catch (const EArquivoComum& e) {
        throw Exception("Não foi possível ler " + arquivo + ": " + e.Message() + ". Nada foi gravado.");
    }
    return LerTextoLeiaute09(bytes, arquivo);
}

int Importar(fb::TDatabase& banco, const std::string& arquivo, TLeiaute09 novo, bool substituir) {
    const TLeiaute09 lido = LerLeiaute09(banco);
    if (!lido.campos.empty() && !substituir)
        throw Exception("A tabela FormatMrg já tem um desenho do modelo 09 (" + std::to_string(lido.campos.size()) +
                        " campo(s)); use --substituir para trocá-lo. Nada foi gravado.");
    // The retail system's own columns of the field rows stay with the rows in
    // the same place of the print order.
    for (size_t i = 0; i < novo.campos.size() && i < lido.campos.size(); ++i) {
        novo.campos[i].ordImp = lido.campos[i].ordImp;
        novo.campos[i].aux5 = lido.campos[i].aux5;
    }
    GravarLeiaute09(banco, novo, lido);
    // What the file leaves odd is written all the same; the shop hears of it.
    for (const TAviso09& a : AvisosLeiaute09(novo, LinguagemDoTexto09(LerConfig("MODELO"))))
        std::cerr << "Aviso: " << a.texto << "\n";
    std::cout << "Desenho do modelo 09 importado de " << arquivo << " (" << novo.campos.size() << " campo(s)).\n";
    return 0;
}

int Formato(const std::vector<std::string>& argumentos) {
    TOpcoesCli op(argumentos);
    const bool substituir = op.Flag("substituir");
    op.VerificarDesconhecidas();
    const std::vector<std::string>& p = op.Posicionais();
    if (p.size() != 2 || (p[0] != "exportar" && p[0] != "importar") || (substituir && p[0] != "importar"))
        throw Exception("Uso: etiquetas-cli formato exportar ARQUIVO | formato importar ARQUIVO [--substituir]");

    TLeiaute09 novo;
    if (p[0] == "importar") novo = LerArquivo09(p[1]);
    TdtmAplicativo dtm;
    ExigirPathMerkor(dtm);
    if (p[0] == "exportar") return Exportar(dtm.dtbAplicativo, p[1]);
    return Importar(dtm.dtbAplicativo, p[1], std::move(novo), substituir);
}

const TRegistroComando registro({
    "formato",
    "exportar ARQUIVO | importar ARQUIVO [--substituir]",
    "grava o desenho da etiqueta do modelo 09 (tabela FormatMrg) num arquivo de texto, ou o lê de volta",
    Formato,
});

}  // namespace
