#pragma once
// Demo shop database: a Merkor-like shop with departments, suppliers, tax
// groups, goods, size/colour variants, purchases and a label design, for
// trying the program without a real shop. The same seed gives the same data.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace demo {

struct TOpcoesLojaDemo {
    std::string caminho;  // local file or "host:/path"
    int mercadorias = 300;
    uint64_t semente = 1;
    bool substituir = false;  // an existing database is replaced only when asked
    std::vector<std::string> parametros{"user_name=SYSDBA", "password=pinewoods", "lc_ctype=WIN1252"};
    // Called now and then with the goods written so far.
    std::function<void(int feitas, int total)> progresso;
};

struct TResumoLojaDemo {
    int departamentos = 0;
    int fornecedores = 0;
    int mercadorias = 0;
    int grades = 0;  // rows of GRADES_PRODUTOS_P
    int mercadoriasComGrade = 0;
    int compras = 0;
    int itensCompra = 0;
    int linhasFormato = 0;
};

// Change dates of the goods fall within this year (fixed, so a seed always
// gives the same database): 01/07/2024 to 30/06/2025.
constexpr const char* kPeriodoAlteracoesDemo = "01/07/2024 a 30/06/2025";

// Creates the database. A local database is built beside the target under a
// temporary name and moved into place only when complete, so a failure leaves
// nothing behind and a replaced database stays whole until the new one is ready.
TResumoLojaDemo CriarLojaDemo(const TOpcoesLojaDemo& opcoes);

// Barcode helpers, also used by the tests.
int DigitoEan(const std::string& semDigito);  // check digit of EAN-8/EAN-13 (7 or 12 digits)
bool EanValido(const std::string& codigo);

}  // namespace demo
