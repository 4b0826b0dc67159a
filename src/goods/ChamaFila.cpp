#include "goods/ChamaFila.h"

#include "common/ConfigEtq.h"
#include "common/Excecoes.h"
#include "common/UFuncoes.h"
#include "goods/LoteEtiquetas.h"
#include "interface/ModelosA4.h"

namespace {
constexpr int kModeloParcelas = 47;
}  // namespace

int ModeloDaFila(const std::string& modeloPrint) { return StrToInt("0" + Esquerda(modeloPrint, 2)); }

bool chama_print_etiqueta(const TFabricaJanelaEtiquetasFila& criar, bool processarGrades, uint8_t acessoDireto,
                          const std::string& paramModelo) {
    const TArquivoIni ini = ArquivoConfigEtq();
    const std::string modeloPrint = ini.LerTexto("CONF", "MODELO PRINT", "");
    const std::string parcela1 = ini.LerTexto("CONF", "Parcela1", "0");
    const std::string parcela2 = ini.LerTexto("CONF", "Parcela2", "0");
    const int modelo = ModeloDaFila(modeloPrint);
    const bool encerrar = acessoDireto == 1 && InteiroDeDigitos(paramModelo) > 0;

    if (!criar) throw Exception("A janela da fila de etiquetas não está disponível.");
    std::unique_ptr<TJanelaEtiquetas> fila = criar();
    fila->PrimeiraAtivacao = true;
    fila->ProcessarGrades = processarGrades;
    fila->FecharAposImprimir = encerrar;
    fila->MostrarBrancos = EhModeloA4(modelo);
    fila->MostrarParcelas = modelo == kModeloParcelas;
    if (fila->MostrarParcelas) {
        fila->Parcela1 = parcela1;
        fila->Parcela2 = parcela2;
    }
    fila->ShowModal();
    if (modelo == kModeloParcelas) GravarConfig({{"Parcela1", fila->Parcela1}, {"Parcela2", fila->Parcela2}});
    return encerrar;
}
