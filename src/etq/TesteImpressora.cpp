#include "etq/TesteImpressora.h"

#include <limits>

#include "common/Excecoes.h"
#include "common/UFuncoes.h"
#include "common/Win1252.h"
#include "device/CdbDevice.h"

namespace {
// Positions typed in millimetres become tenths; absurd values saturate so the
// languages' range checks refuse them instead of the arithmetic wrapping.
int Multiplicar(int valor, int fator) {
    long long r = static_cast<long long>(valor) * fator;
    if (r > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (r < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(r);
}
int Somar(int a, int b) {
    long long r = static_cast<long long>(a) + b;
    if (r > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (r < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(r);
}
}  // namespace

size_t ImprimirTeste(TCdbETQ& etq, const TParametrosTeste& p) {
    // Every field is read before the component is touched: a typing error
    // leaves the component exactly as it was.
    // The failures name the field by its caption on the panel.
    const int temperatura = StrToIntCampo(p.Temperatura, "Temperatura");
    const int colunas = StrToIntCampo(p.QtdColunas, "qtd Colunas");
    const int vertical = Multiplicar(StrToIntCampo(p.Linha, "Linha"), 10);
    int horizontal = Multiplicar(StrToIntCampo(p.Coluna, "Coluna"), 10);
    const int altura = Multiplicar(StrToIntCampo(p.Altura, "Altura"), 4);
    const int passo = Multiplicar(StrToIntCampo(p.EntreColunas, "entre colunas"), 10);
    // No label roll holds more side by side; a huge count would only build a
    // stream the size of the memory before anything reaches the printer.
    if (colunas > kMaxColunasTeste)
        throw EConvertError("qtd Colunas: " + std::to_string(colunas) +
                            " colunas não cabem numa etiqueta (use no máximo " + std::to_string(kMaxColunasTeste) +
                            ")");
    // An empty port would open nothing and send the label nowhere, silently.
    if (Trim(p.Porta).empty()) throw Exception("Porta não definida");

    const std::string codigo = Win1252::DeUtf8(p.Codigo, ' ');
    const std::string tipo = Win1252::DeUtf8(p.TipoBarras, ' ');

    etq.SetPorta(p.Porta);
    etq.SetLimparMemoria(true);
    etq.SetTemperatura(temperatura);
    etq.SetAvanco(0);
    if (p.Modelo) etq.SetModelo(*p.Modelo);

    try {
        etq.Ativar();
        etq.IniciarEtiqueta();
        for (int i = 0; i < colunas; ++i) {
            if (p.ImprimirComoTexto)
                etq.ImprimirTexto(orNormal, 2, 1, 1, vertical, horizontal, codigo, 0, false);
            else if (p.ImprimirNumeroBarras)
                etq.ImprimirBarras(orNormal, tipo, "2", "2", vertical, horizontal, codigo, altura, becSIM);
            else
                etq.ImprimirBarras(orNormal, tipo, "2", "2", vertical, horizontal, codigo, Multiplicar(altura, 4),
                                   becNAO);
            horizontal = Somar(horizontal, passo);
        }
        etq.Imprimir(1, 0);
    } catch (...) {
        // Left active, the panel could not switch language or port for the
        // next try, and the half-built label would ride along with it.
        try {
            etq.Desativar();
        } catch (...) {}
        throw;
    }
    etq.Desativar();
    return etq.Device().BytesEnviados();
}
