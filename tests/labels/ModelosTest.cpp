// Every thermal and shelf-edge model printed from one fixture queue
// (modelos/fila.sql): golden streams in the language each model was written
// for, the shift ADDCOLUNA, the edge cases of single models, and every model
// in every language.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "Ouro.h"
#include "common/ConfigEtq.h"
#include "common/InterfaceUsuario.h"
#include "common/UFuncoes.h"
#include "data/fb/EsquemaLoja.h"
#include "data/fb/FbCliente.h"
#include "data/udtmAplicativo.h"
#include "labels/ImpressaoEtiquetas.h"
#include "suporte/Caminhos.h"
#include "suporte/Suporte.h"

namespace {

// The fixture database, made once per content of the schema and the queue
// script and then copied: ctest runs every case in a process of its own.
std::string BancoDaFila() {
    const std::string script = LerTudo(std::string(kFonteTestes) + "/modelos/fila.sql");
    const std::string modelo =
        (std::filesystem::temp_directory_path() /
         ("etiq-modelos-" + std::to_string(std::hash<std::string>{}(std::string(fb::EsquemaLoja()) + script)) + ".fdb"))
            .string();
    if (std::filesystem::exists(modelo)) return modelo;
    TPastaTemp obra("etiq-modelos-obra");
    const std::string banco = obra / "loja.fdb";
    {
        fb::TDatabase db;
        db.SetCaminho(banco);
        db.SetParametros(ParametrosConexao());
        db.CriarBanco();
        fb::CriarEsquemaLoja(db);
        db.ExecutarScript(script);
    }
    // Two processes may build it at once; the rename keeps either whole.
    std::filesystem::rename(banco, modelo);
    return modelo;
}

// One shop database per suite: printing only reads it.
class Modelos : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        setenv("LC_ALL", "C", 1);  // "," and DD/MM/AAAA whatever the machine says
        pasta_ = new TPastaTemp("etiq-modelos");
        const std::string banco = *pasta_ / "loja.fdb";
        std::filesystem::copy_file(BancoDaFila(), banco);
        DefinirDiretorioSistema(pasta_->caminho.string());
        GravarConfig("PATH MERKOR", banco);
        dtm_ = new TdtmAplicativo();
        imp_ = new TImpressaoEtiquetas(*dtm_);
        imp_->PausaMs = 0;
        imp_->Hoje = [] { return EncodeDate(2026, 3, 5); };
        imp_->tblEtiquetaRead.Open();
    }
    static void TearDownTestSuite() {
        delete imp_;
        delete dtm_;
        DefinirDiretorioSistema("");
        delete pasta_;
    }
    void SetUp() override {
        imp().AddColuna = 0;
        imp().modModelo58 = 0;
        imp().EdtP1 = "0";
        imp().edtP2 = "0";
        GravarConfig({{"ADDCOLUNA", ""}, {"NOME LOJA", ""}, {"TEXTO LOJA", ""}});
    }

    static TImpressaoEtiquetas& imp() { return *imp_; }

    // Prints the queue with model `numero` in `linguagem` ("PPLA", "PPLB",
    // "EPL2", "ZPL") and answers the stream the port received.
    static std::string Imprimir(int numero, const std::string& linguagem) {
        const std::string saida = *pasta_ / "saida.prn";
        GravarConfig({{"PATH REDE", "FILE:" + saida}, {"MODELO", linguagem}, {"MODELO PRINT", ""}});
        imp().ParamModelo = std::to_string(numero);
        try {
            imp().ImprimeEtiquetasPreConfigurada();
        } catch (...) {
            // A failed print leaves the component open and the queue filtered.
            imp().CdbETQ.Desativar();
            imp().tblEtiquetaRead.SetFiltrado(false);
            throw;
        }
        return LerTudo(saida);
    }

    static TPastaTemp* pasta_;
    static TdtmAplicativo* dtm_;
    static TImpressaoEtiquetas* imp_;
};

TPastaTemp* Modelos::pasta_ = nullptr;
TdtmAplicativo* Modelos::dtm_ = nullptr;
TImpressaoEtiquetas* Modelos::imp_ = nullptr;

// Every thermal and shelf-edge model, with the language it was written for.
struct CasoModelo {
    int numero;
    const char* linguagem;
};

const CasoModelo kModelos[] = {
    {1, "PPLB"},  {2, "PPLA"},  {3, "PPLB"},  {4, "EPL2"},  {5, "PPLA"},  {6, "PPLA"},  {7, "EPL2"},  {8, "PPLA"},
    {10, "PPLA"}, {11, "PPLA"}, {12, "PPLB"}, {13, "PPLA"}, {14, "EPL2"}, {15, "PPLA"}, {16, "PPLA"}, {17, "PPLA"},
    {18, "PPLA"}, {19, "PPLA"}, {21, "PPLA"}, {22, "PPLA"}, {23, "PPLA"}, {24, "PPLA"}, {25, "PPLA"}, {27, "PPLA"},
    {29, "PPLA"}, {30, "PPLA"}, {31, "PPLA"}, {36, "EPL2"}, {37, "PPLA"}, {38, "EPL2"}, {40, "PPLA"}, {41, "PPLA"},
    {43, "PPLA"}, {44, "PPLA"}, {45, "PPLA"}, {46, "PPLA"}, {47, "PPLA"}, {48, "PPLA"}, {49, "PPLA"}, {50, "PPLA"},
    {51, "EPL2"}, {52, "PPLA"}, {53, "PPLA"}, {54, "PPLA"}, {56, "PPLA"}, {57, "PPLA"}, {58, "ZPL"},  {59, "PPLA"},
};

std::string NomeOuro(int numero, const std::string& linguagem, const std::string& extra = "") {
    return "modelos/modelo" + ZerosEsquerda(numero, 2) + extra + "." + Minusculas(linguagem) + ".prn";
}

std::string NomeCaso(const ::testing::TestParamInfo<CasoModelo>& i) {
    return "Modelo" + ZerosEsquerda(i.param.numero, 2);
}

// --- Golden streams -------------------------------------------------------

class ModelosOuro : public Modelos, public ::testing::WithParamInterface<CasoModelo> {};

TEST_P(ModelosOuro, FluxoIgualAoOuro) {
    const CasoModelo& c = GetParam();
    EXPECT_TRUE(IgualAoOuro(NomeOuro(c.numero, c.linguagem), Imprimir(c.numero, c.linguagem)));
}

INSTANTIATE_TEST_SUITE_P(Todos, ModelosOuro, ::testing::ValuesIn(kModelos), NomeCaso);

// The choices of the queue window that change a model's label.
TEST_F(Modelos, Modelo58EmQuatroColunasOuNenhuma) {
    imp().modModelo58 = 1;
    EXPECT_TRUE(IgualAoOuro(NomeOuro(58, "ZPL", "_4colunas"), Imprimir(58, "ZPL")));
    imp().modModelo58 = -1;
    EXPECT_EQ(Imprimir(58, "ZPL"), "");
}

TEST_F(Modelos, Modelo47ComParcelas) {
    imp().EdtP1 = "2";
    imp().edtP2 = "1";
    EXPECT_TRUE(IgualAoOuro(NomeOuro(47, "PPLA", "_parcelas"), Imprimir(47, "PPLA")));
}

// --- Single records the models' rules decide ------------------------------

// The records of a stream, without their terminators.
std::vector<std::string> Linhas(const std::string& fluxo) {
    std::vector<std::string> r;
    for (std::string l : Registros(fluxo)) {
        while (!l.empty() && (l.back() == '\r' || l.back() == '\n')) l.pop_back();
        r.push_back(l);
    }
    return r;
}

struct CasoRegistro {
    const char* descricao;
    int numero;
    const char* linguagem;
    const char* registro;  // regular expression over one whole record
    bool presente;
};

class ModelosRegistro : public Modelos, public ::testing::WithParamInterface<CasoRegistro> {};

TEST_P(ModelosRegistro, RegistroDoFluxo) {
    const CasoRegistro& c = GetParam();
    const std::regex re(c.registro);
    bool achou = false;
    for (const auto& l : Linhas(Imprimir(c.numero, c.linguagem))) achou = achou || std::regex_match(l, re);
    EXPECT_EQ(achou, c.presente) << c.descricao << ": " << c.registro;
}

// PPLA records: rotation, type or font, two widths, height or sub-font, row
// (vertical) and column (horizontal), four digits each, then the data.
INSTANTIATE_TEST_SUITE_P(
    Casos, ModelosRegistro,
    ::testing::Values(
        CasoRegistro{"modelo 15 sem barras para 13 caracteres", 15, "PPLA", "1[A-Ta-t]..\\d{3}\\d{8}7891000315507",
                     false},
        CasoRegistro{"modelo 15 com barras para 12 caracteres", 15, "PPLA", "1E110800002\\d{4}789100031550", true},
        CasoRegistro{"modelo 05: 3 caracteres, E 2/2", 5, "PPLA", "1E220800080\\d{4}123", true},
        CasoRegistro{"modelo 05: 5 caracteres, E 1/1", 5, "PPLA", "1E110800080\\d{4}AB12C", true},
        CasoRegistro{"modelo 05: 13 caracteres, F 1/1 altura 90", 5, "PPLA", "1F110900080\\d{4}7891000315507", true},
        CasoRegistro{"modelo 36: 999,99 em 250", 36, "EPL2", "A200,0,0,2,1,1,N,\"R\\$ 999,99\"", true},
        CasoRegistro{"modelo 36: 1000,00 em 235", 36, "EPL2", "A188,0,0,2,1,1,N,\"R\\$ 1000,00\"", true},
        CasoRegistro{"modelo 59: oito digitos, tipo E", 59, "PPLA", "1e221200050025078912345", true},
        CasoRegistro{"modelo 59: letras em 5 caracteres, O em 250", 59, "PPLA", "1o3312000500250AB12C", true},
        CasoRegistro{"modelo 59: letras em 7 caracteres, O em 220", 59, "PPLA", "1o3312000500220CX12345", true},
        CasoRegistro{"modelo 59: sete digitos, E", 59, "PPLA", "1e22120005002502000001", true},
        CasoRegistro{"modelo 59: no maximo cinco linhas de similares", 59, "PPLA", "1211000\\d{4}0001Ervilha Seca 500g",
                     false},
        CasoRegistro{"modelo 59: quinta linha de similares", 59, "PPLA", "121100000800001Grao-de-bico 500g", true},
        CasoRegistro{"modelo 19: 3 caracteres codifica 0123", 19, "PPLA",
                     "1e2209000600120"
                     "0123",
                     true},
        CasoRegistro{"modelo 19: texto do codigo sem o 0", 19, "PPLA", "121200000050150123", true},
        CasoRegistro{"modelo 19: 12 caracteres, E em 50", 19, "PPLA", "1e2209000600050789100031550", true},
        CasoRegistro{"modelo 19: 13 caracteres, F em 120 com digitos", 19, "PPLA", "1F22090006001207891000315507",
                     true},
        CasoRegistro{"modelo 19: 13 caracteres sem texto do codigo", 19, "PPLA", "1212000\\d{8}7891000315507", false},
        CasoRegistro{"modelo 57: unidade UNID vira UN", 57, "PPLA", "122200000600770UN", true},
        CasoRegistro{"modelo 57: unidade PACOT vira PCT", 57, "PPLA", "122200000600770PCT", true},
        CasoRegistro{"modelo 19 sem unidade", 19, "PPLA", "122200000600770.*", false},
        CasoRegistro{"modelo 02: 3 caracteres codifica 0123", 2, "PPLA",
                     "1E2209000050100"
                     "0123",
                     true},
        CasoRegistro{"modelo 49: linha Codigo", 49, "PPLA", "121200001350045Codigo: 101", true},
        CasoRegistro{"modelo 02 sem linha Codigo", 2, "PPLA", "1212000\\d{8}Codigo: .*", false},
        CasoRegistro{"modelo 51: ultimos seis caracteres", 51, "EPL2", "A\\d+,16,0,2,1,1,N,\"315507\"", true},
        CasoRegistro{"modelo 51: codigo curto inteiro", 51, "EPL2", "A\\d+,16,0,2,1,1,N,\"123\"", true},
        CasoRegistro{"modelo 06: data de hoje", 6, "PPLA",
                     "121100001050700"
                     "05/03/2026",
                     true},
        CasoRegistro{"modelo 06: hoje mais 30 dias de garantia", 6, "PPLA",
                     "121100001050870"
                     "04/04/2026",
                     true},
        CasoRegistro{"modelo 10: data de hoje DD/MM/AA", 10, "PPLA", "12110000230\\d{4}05/03/26", true},
        CasoRegistro{"modelo 31: data de cadastro", 31, "PPLA", "12110000015\\d{4}15/03/2024", true},
        // Another language than the table's: the same symbology in that language's code.
        CasoRegistro{"modelo 01 em PPLA: Code 128 como E", 1, "PPLA", "1E22070005000201234", true},
        CasoRegistro{"modelo 01 em PPLA: EAN-13 como F", 1, "PPLA", "1F220700050\\d{4}7899999000019", true},
        CasoRegistro{"modelo 05 em EPL2: EAN-13 como E30, barra fina 2", 5, "EPL2",
                     "B\\d+,64,0,E30,2,2,72,B,\"7891000315507\"", true},
        CasoRegistro{"modelo 05 em ZPL: Code 128 como C", 5, "ZPL",
                     "\\^FO\\d+,64\\^BY1,,80\\^BCN,64,Y,N\\^FD12345\\^FS", true},
        CasoRegistro{"modelo 47 em EPL2: barra larga nunca menor que a fina", 47, "EPL2",
                     "B\\d+,32,0,1,2,2,48,N,\"78912345\"", true},
        CasoRegistro{"modelo 50 em EPL2: fonte 6 vira 5", 50, "EPL2", "A40,240,0,5,1,1,N,\"LOJA DE\"", true},
        CasoRegistro{"modelo 58 em PPLA: 1 vira E", 58, "PPLA", "1e220450030\\d{4}78912345", true},
        // In subset B the code would run into the next label: its digits go in pairs (">;", subset C).
        CasoRegistro{"modelo 58 no ZPL: Code 128 em vez de Code 11", 58, "ZPL",
                     "\\^FO\\d+,24\\^BY2,,45\\^BCN,36,N,N\\^FD>;78912345\\^FS", true}),
    [](const ::testing::TestParamInfo<CasoRegistro>& i) { return "Caso" + std::to_string(i.index); });

// --- ADDCOLUNA ------------------------------------------------------------

// Horizontal positions of a stream's positioned records: PPLA columns in
// tenths of a millimetre, EPL2 and ZPL x in dots.
std::vector<int> Horizontais(const std::string& fluxo, const std::string& linguagem) {
    std::vector<int> r;
    static const std::regex ppla("[1-4][0-9A-Za-z][0-9A-Za-z][0-9A-Za-z]\\d{3}\\d{4}(\\d{4}).*");
    static const std::regex epl("(?:A|B|LO|X)(\\d+),.*");
    static const std::regex zpl("\\^FO(\\d+),.*");
    const std::regex& re = linguagem == "PPLA" ? ppla : linguagem == "ZPL" ? zpl : epl;
    for (const auto& l : Linhas(fluxo)) {
        std::smatch m;
        if (std::regex_match(l, m, re)) r.push_back(std::stoi(m[1]));
    }
    return r;
}

struct CasoDeslocamento {
    int numero;
    const char* linguagem;
    bool desloca;
};

class ModelosDeslocamento : public Modelos, public ::testing::WithParamInterface<CasoDeslocamento> {};

TEST_P(ModelosDeslocamento, AddColunaMoveOuNao) {
    const CasoDeslocamento& c = GetParam();
    const auto antes = Horizontais(Imprimir(c.numero, c.linguagem), c.linguagem);
    GravarConfig("ADDCOLUNA", "30");
    const auto depois = Horizontais(Imprimir(c.numero, c.linguagem), c.linguagem);
    ASSERT_EQ(antes.size(), depois.size());
    ASSERT_FALSE(antes.empty());
    int movidos = 0;
    for (size_t i = 0; i < antes.size(); ++i) {
        const int d = depois[i] - antes[i];
        if (c.linguagem == std::string("PPLA"))
            EXPECT_TRUE(d == 0 || d == 30) << i;
        else
            EXPECT_TRUE(d == 0 || (d >= 23 && d <= 25)) << i;
        if (d != 0) ++movidos;
    }
    const int esperado = c.desloca ? static_cast<int>(antes.size()) : 0;
    EXPECT_EQ(movidos, esperado);
}

INSTANTIATE_TEST_SUITE_P(Casos, ModelosDeslocamento,
                         ::testing::Values(CasoDeslocamento{1, "PPLB", false}, CasoDeslocamento{2, "PPLA", false},
                                           CasoDeslocamento{3, "PPLB", false}, CasoDeslocamento{19, "PPLA", false},
                                           CasoDeslocamento{27, "PPLA", false}, CasoDeslocamento{30, "PPLA", false},
                                           CasoDeslocamento{37, "PPLA", false}, CasoDeslocamento{49, "PPLA", false},
                                           CasoDeslocamento{57, "PPLA", false}, CasoDeslocamento{5, "PPLA", true},
                                           CasoDeslocamento{12, "PPLB", true}, CasoDeslocamento{21, "PPLA", true},
                                           CasoDeslocamento{45, "PPLA", true}, CasoDeslocamento{58, "ZPL", true}),
                         [](const ::testing::TestParamInfo<CasoDeslocamento>& i) {
                             return "Modelo" + ZerosEsquerda(i.param.numero, 2);
                         });

// Model 24's heading (shop name and rule) stays put; the rest moves.
TEST_F(Modelos, Modelo24CabecalhoNaoSeMove) {
    const auto antes = Horizontais(Imprimir(24, "PPLA"), "PPLA");
    GravarConfig("ADDCOLUNA", "30");
    const auto depois = Horizontais(Imprimir(24, "PPLA"), "PPLA");
    ASSERT_EQ(antes.size(), depois.size());
    int fixos = 0, movidos = 0;
    for (size_t i = 0; i < antes.size(); ++i) (depois[i] == antes[i] ? fixos : movidos)++;
    // Two heading records per label (18 labels), every other record moved.
    EXPECT_EQ(fixos, 2 * 18);
    EXPECT_EQ(movidos, static_cast<int>(antes.size()) - 2 * 18);
}

// --- Shop texts -----------------------------------------------------------

TEST_F(Modelos, TextosDaLojaCortadosOuCompletados) {
    GravarConfig({{"NOME LOJA", "Mercadinho São José do Norte"}, {"TEXTO LOJA", "Qualidade sempre"}});
    const std::string m03 = Imprimir(3, "PPLB");
    EXPECT_NE(m03.find("\"Mercadinho Sao Jos\""), std::string::npos);
    EXPECT_NE(m03.find("\"   Qualidade se\""), std::string::npos);
    const std::string m50 = Imprimir(50, "PPLA");
    EXPECT_NE(m50.find("161100003000050Mercadi\r"), std::string::npos);
    EXPECT_NE(m50.find("Q U A L I\r"), std::string::npos);
    GravarConfig("NOME LOJA", "Bazar");
    EXPECT_NE(Imprimir(53, "PPLA").find("Bazar       \r"), std::string::npos);
}

// --- Every model in every language ----------------------------------------

class ModelosLinguagens : public Modelos, public ::testing::WithParamInterface<CasoModelo> {};

TEST_P(ModelosLinguagens, ImprimeEmTodas) {
    for (const char* linguagem : {"PPLA", "PPLB", "EPL2", "ZPL"}) {
        std::string fluxo;
        EXPECT_EQ(MensagemDe([&] { fluxo = Imprimir(GetParam().numero, linguagem); }), "(nada lançado)") << linguagem;
        EXPECT_FALSE(fluxo.empty()) << linguagem;
    }
}

INSTANTIATE_TEST_SUITE_P(Todos, ModelosLinguagens, ::testing::ValuesIn(kModelos), NomeCaso);

}  // namespace
