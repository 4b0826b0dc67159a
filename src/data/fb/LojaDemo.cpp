#include "data/fb/LojaDemo.h"

#include <ibase.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <string_view>

#include "common/Decimal.h"
#include "common/ErroSistema.h"
#include "common/Excecoes.h"
#include "common/UFuncoes.h"
#include "common/Win1252.h"
#include "data/fb/EsquemaLoja.h"
#include "data/fb/FbCliente.h"

namespace fs = std::filesystem;

namespace fb {

int DigitoEan(const std::string& s) {
    int soma = 0;
    // weights 3,1,3,... from the rightmost digit
    for (size_t i = 0; i < s.size(); ++i) {
        int d = s[s.size() - 1 - i] - '0';
        soma += (i % 2 == 0) ? d * 3 : d;
    }
    return (10 - soma % 10) % 10;
}

bool EanValido(const std::string& c) {
    if (c.size() != 8 && c.size() != 13) return false;
    if (!std::all_of(c.begin(), c.end(), [](char x) { return x >= '0' && x <= '9'; })) return false;
    return DigitoEan(c.substr(0, c.size() - 1)) == c.back() - '0';
}

namespace {

// splitmix64: small, fast and the same on every platform and library.
class TSorteio {
public:
    explicit TSorteio(uint64_t semente) : s_(semente * 0x9E3779B97F4A7C15ull + 0x2545F4914F6CDD1Dull) {}
    uint64_t Proximo() {
        uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int Entre(int a, int b) { return a + static_cast<int>(Proximo() % static_cast<uint64_t>(b - a + 1)); }
    bool Chance(int porCento) { return static_cast<int>(Proximo() % 1000) < porCento * 10; }
    bool ChanceMil(int porMil) { return static_cast<int>(Proximo() % 1000) < porMil; }
    template <class C>
    const auto& De(const C& c) { return c[Proximo() % std::size(c)]; }

private:
    uint64_t s_;
};

using Lista = std::vector<std::string_view>;

struct TDepartamento {
    int codigo;
    const char* nome;
    const char* setor;
    const char* tipo;
    int peso;          // share of the goods
    int precoMin, precoMax;  // in reais
    enum Tipo { Comum, Pesavel, Roupa, Calcado } classe;
    Lista itens, detalhes, marcas, tamanhos, unidades;
};

const std::vector<TDepartamento>& Departamentos() {
    static const std::vector<TDepartamento> d = {
        {1, "MERCEARIA", "ALIMENTOS", "REVENDA", 16, 2, 45, TDepartamento::Comum,
         {"ARROZ AGULHINHA", "FEIJÃO CARIOCA", "FEIJÃO PRETO", "AÇÚCAR CRISTAL", "AÇÚCAR REFINADO", "CAFÉ TORRADO E MOÍDO",
          "MACARRÃO ESPAGUETE", "MACARRÃO PARAFUSO", "ÓLEO DE SOJA", "AZEITE EXTRA VIRGEM", "FARINHA DE TRIGO",
          "FARINHA DE MANDIOCA", "FUBÁ MIMOSO", "SAL REFINADO", "MOLHO DE TOMATE", "EXTRATO DE TOMATE", "MAIONESE",
          "BISCOITO CREAM CRACKER", "BISCOITO RECHEADO CHOCOLATE", "ACHOCOLATADO EM PÓ", "LEITE CONDENSADO",
          "CREME DE LEITE", "MILHO VERDE EM CONSERVA", "ERVILHA EM CONSERVA", "SARDINHA EM ÓLEO", "ATUM RALADO",
          "GOIABADA CASCÃO", "DOCE DE LEITE", "GELATINA MORANGO", "AVEIA EM FLOCOS", "LEITE EM PÓ INTEGRAL"},
         {"TIPO 1", "ESPECIAL", "TRADICIONAL", "INTEGRAL", "ORGÂNICO", "LIGHT", "ZERO AÇÚCAR", "PREMIUM", "SELECIONADO",
          "EXTRA FORTE", "À VÁCUO", "SACHÊ", "LATA", "PACOTE ECONÔMICO"},
         {"CAMIL", "TIO JOÃO", "KICALDO", "UNIÃO", "PILÃO", "MELITTA", "RENATA", "ADRIA", "SOYA", "GALLO", "DONA BENTA",
          "YOKI", "QUERO", "HELLMANN'S", "NESTLÉ", "PIRACANJUBA", "GOMES DA COSTA", "PREDILECTA", "QUAKER"},
         {"1KG", "5KG", "500G", "250G", "200G", "340G", "900ML", "500ML", "395G", "2KG", "400G", "170G"},
         {"UN", "PCT", "CX", "FD"}},
        {2, "BEBIDAS", "ALIMENTOS", "REVENDA", 9, 2, 90, TDepartamento::Comum,
         {"REFRIGERANTE COLA", "REFRIGERANTE GUARANÁ", "ÁGUA MINERAL SEM GÁS", "ÁGUA MINERAL COM GÁS", "SUCO DE UVA INTEGRAL",
          "SUCO DE LARANJA", "NÉCTAR DE PÊSSEGO", "CERVEJA PILSEN", "CERVEJA PURO MALTE", "VINHO TINTO SECO",
          "VINHO BRANCO SUAVE", "CACHAÇA ENVELHECIDA", "ENERGÉTICO", "CHÁ GELADO LIMÃO", "ISOTÔNICO LARANJA"},
         {"LATA", "GARRAFA", "PET", "LONG NECK", "RETORNÁVEL", "SEM AÇÚCAR", "ZERO", "ORIGINAL", "RESERVA"},
         {"COCA-COLA", "ANTARCTICA", "GUARANÁ JESUS", "CRYSTAL", "LINDOYA", "AURORA", "DEL VALLE", "BRAHMA", "SKOL",
          "HEINEKEN", "MIOLO", "CASA VALDUGA", "YPIÓCA", "RED BULL", "GATORADE"},
         {"350ML", "600ML", "1L", "1,5L", "2L", "750ML", "269ML", "500ML", "5L"},
         {"UN", "FD", "CX", "PCT"}},
        {3, "HORTIFRÚTI", "ALIMENTOS", "REVENDA", 5, 2, 30, TDepartamento::Pesavel,
         {"BANANA PRATA", "BANANA NANICA", "MAÇÃ FUJI", "MAÇÃ GALA", "LARANJA PÊRA", "LIMÃO TAITI", "MAMÃO FORMOSA",
          "MELANCIA", "ABACAXI PÉROLA", "TOMATE ITALIANO", "BATATA INGLESA", "CEBOLA", "ALHO ROXO", "CENOURA",
          "PIMENTÃO VERDE", "ALFACE CRESPA", "COUVE MANTEIGA", "MANDIOCA DESCASCADA", "CHUCHU", "ABÓBORA CABOTIÁ"},
         {"KG", "GRAÚDO", "ESPECIAL", "ORGÂNICO", "HIDROPÔNICO", "BANDEJA", "EXTRA"},
         {"", "CEASA", "SÍTIO BOA VISTA", "HORTA DA SERRA"},
         {""},
         {"KG", "UN", "MAÇO", "BJ"}},
        {4, "PADARIA", "ALIMENTOS", "PRODUÇÃO PRÓPRIA", 4, 1, 60, TDepartamento::Pesavel,
         {"PÃO FRANCÊS", "PÃO DE QUEIJO", "PÃO DE FORMA", "BOLO DE CENOURA", "BOLO DE FUBÁ", "SONHO DE CREME",
          "ROSCA DOCE", "BISNAGUINHA", "PÃO DE MILHO", "CROISSANT", "TORTA DE FRANGO", "QUICHE DE ALHO-PORÓ"},
         {"KG", "UNIDADE", "FATIADO", "CASEIRO", "INTEGRAL", "RECHEADO", "COM COBERTURA", "MINI"},
         {"", "DA CASA"},
         {"", "50G", "400G", "500G"},
         {"KG", "UN", "PCT"}},
        {5, "CALÇADOS", "VESTUÁRIO", "REVENDA", 6, 39, 349, TDepartamento::Calcado,
         {"TÊNIS CORRIDA", "TÊNIS CASUAL", "SAPATO SOCIAL", "SANDÁLIA RASTEIRA", "CHINELO DE DEDO", "BOTA CANO CURTO",
          "SAPATILHA", "MOCASSIM", "BABUCHE", "SAPATÊNIS", "CHUTEIRA SOCIETY", "TAMANCO"},
         {"MASCULINO", "FEMININO", "INFANTIL", "COURO", "CAMURÇA", "LONA", "EM EVA", "ANTIDERRAPANTE", "CONFORTO"},
         {"OLYMPIKUS", "ASICS", "HAVAIANAS", "IPANEMA", "RIDER", "FERRACINI", "PEGADA", "AZALEIA", "MOLECA", "BEIRA RIO",
          "KLIN", "GRENDENE", "PENALTY"},
         {""},
         {"PAR", "UN"}},
        {6, "CONFECÇÃO MASCULINA", "VESTUÁRIO", "REVENDA", 6, 25, 259, TDepartamento::Roupa,
         {"CAMISA SOCIAL", "CAMISA POLO", "CAMISETA BÁSICA", "CALÇA JEANS", "CALÇA SARJA", "BERMUDA TACTEL",
          "CALÇÃO DE BANHO", "JAQUETA CORTA-VENTO", "MOLETOM CANGURU", "CUECA BOXER", "MEIA SOCIAL", "CINTO DE COURO"},
         {"MANGA LONGA", "MANGA CURTA", "SLIM", "TRADICIONAL", "ALGODÃO", "ESTAMPADA", "LISA", "XADREZ", "LISTRADA"},
         {"HERING", "RESERVA", "MALWEE", "COLCCI", "LEVI'S", "DUDALINA", "TIMBERLAND", "LUPO", "ZORBA", "POLO WEAR"},
         {""},
         {"UN", "PC", "KIT"}},
        {7, "CONFECÇÃO FEMININA", "VESTUÁRIO", "REVENDA", 6, 25, 299, TDepartamento::Roupa,
         {"BLUSA DE MALHA", "VESTIDO MIDI", "SAIA PLISSADA", "CALÇA LEGGING", "CALÇA PANTALONA", "SHORT JEANS",
          "REGATA CANELADA", "CARDIGÃ DE TRICÔ", "MACACÃO LONGO", "PIJAMA DE CETIM", "SUTIÃ SEM BOJO", "BIQUÍNI"},
         {"FLORAL", "POÁ", "LISA", "CANELADA", "COM BOTÕES", "DECOTE V", "MANGA 3/4", "CINTURA ALTA", "VISCOSE"},
         {"MARISA", "RIACHUELO", "MORENA ROSA", "FARM", "LIZ", "DEMILLUS", "CRIS BARROS", "AMARO", "HERING"},
         {""},
         {"UN", "PC", "CJ"}},
        {8, "MODA INFANTIL", "VESTUÁRIO", "REVENDA", 3, 15, 149, TDepartamento::Roupa,
         {"BODY BEBÊ", "MACACÃO PLUSH", "CONJUNTO MOLETOM", "CAMISETA INFANTIL", "VESTIDO INFANTIL", "BERMUDA INFANTIL",
          "PIJAMA INFANTIL", "JARDINEIRA JEANS"},
         {"ESTAMPADO", "MENINO", "MENINA", "UNISSEX", "MANGA LONGA", "ALGODÃO EGÍPCIO"},
         {"TIP TOP", "MARISOL", "BRANDILI", "KYLY", "MALWEE KIDS", "ALAKAZOO"},
         {""},
         {"UN", "PC", "CJ"}},
        {9, "LIMPEZA", "CASA", "REVENDA", 8, 2, 60, TDepartamento::Comum,
         {"DETERGENTE LÍQUIDO", "SABÃO EM PÓ", "SABÃO EM BARRA", "AMACIANTE DE ROUPAS", "ÁGUA SANITÁRIA", "DESINFETANTE",
          "LIMPADOR MULTIUSO", "ESPONJA DUPLA FACE", "PALHA DE AÇO", "SACO DE LIXO", "LUSTRA-MÓVEIS", "ÁLCOOL 70%",
          "LIMPA-VIDROS", "PANO DE CHÃO", "TIRA-MANCHAS"},
         {"NEUTRO", "LIMÃO", "LAVANDA", "EUCALIPTO", "CONCENTRADO", "REFIL", "BRISA DO MAR", "COCO", "ANTIBACTERIANO"},
         {"YPÊ", "OMO", "COMFORT", "QBOA", "PINHO SOL", "VEJA", "SCOTCH-BRITE", "BOMBRIL", "DOWNY", "VANISH", "LIMPOL"},
         {"500ML", "1L", "2L", "5L", "1KG", "800G", "200G", "4UN", "50L", "30L"},
         {"UN", "FD", "CX", "PCT"}},
        {10, "HIGIENE E PERFUMARIA", "HIGIENE", "REVENDA", 8, 2, 120, TDepartamento::Comum,
         {"SABONETE EM BARRA", "SABONETE LÍQUIDO", "XAMPU", "CONDICIONADOR", "CREME DENTAL", "ESCOVA DENTAL",
          "DESODORANTE AEROSSOL", "DESODORANTE ROLL-ON", "PAPEL HIGIÊNICO", "FRALDA DESCARTÁVEL", "ABSORVENTE",
          "PROTETOR SOLAR", "HIDRATANTE CORPORAL", "APARELHO DE BARBEAR", "ALGODÃO EM DISCOS", "FIO DENTAL"},
         {"ERVA-DOCE", "FOLHA DUPLA", "MACIA", "SEM PERFUME", "HIPOALERGÊNICO", "FPS 50", "CACHOS", "ANTICASPA",
          "BRANQUEADOR", "NOTURNO", "RECÉM-NASCIDO", "TAMANHO G"},
         {"PALMOLIVE", "DOVE", "NIVEA", "COLGATE", "ORAL-B", "REXONA", "NEVE", "PAMPERS", "SEMPRE LIVRE", "SUNDOWN",
          "GILLETTE", "JOHNSON'S", "SEDA", "PANTENE", "O BOTICÁRIO"},
         {"90G", "250ML", "400ML", "90G", "150ML", "12 ROLOS", "30UN", "200ML", "50M", "1UN"},
         {"UN", "PCT", "CX"}},
        {11, "UTILIDADES DOMÉSTICAS", "CASA", "REVENDA", 7, 5, 250, TDepartamento::Comum,
         {"PANELA DE PRESSÃO", "FRIGIDEIRA ANTIADERENTE", "JOGO DE COPOS", "JOGO DE PRATOS", "GARRAFA TÉRMICA",
          "POTE HERMÉTICO", "ESCORREDOR DE LOUÇA", "TÁBUA DE CORTE", "FAQUEIRO INOX", "CAFETEIRA ITALIANA",
          "ASSADEIRA RETANGULAR", "BALDE PLÁSTICO", "VARAL DE CHÃO", "JARRA DE VIDRO", "TOALHA DE BANHO"},
         {"INOX", "ALUMÍNIO", "VIDRO TEMPERADO", "POLIPROPILENO", "24 PEÇAS", "6 PEÇAS", "COM TAMPA", "BAMBU",
          "CERÂMICA", "FELPUDA"},
         {"TRAMONTINA", "ROCHEDO", "NADIR", "ELECTROLUX", "SANREMO", "PLASUTIL", "MARINEX", "OXFORD", "TERMOLAR",
          "BUDDEMEYER"},
         {"4,5L", "24CM", "1L", "300ML", "20CM", "2,5L", "30X40CM", "10L", "1,8L"},
         {"UN", "JG", "CX", "KIT"}},
        {12, "FERRAGENS", "FERRAMENTAS E CONSTRUÇÃO", "REVENDA", 7, 3, 180, TDepartamento::Comum,
         {"PARAFUSO SEXTAVADO", "PREGO COM CABEÇA", "BUCHA DE NYLON", "MARTELO DE UNHA", "CHAVE DE FENDA",
          "CHAVE PHILLIPS", "ALICATE UNIVERSAL", "TRENA DE AÇO", "FITA ISOLANTE", "LÂMPADA LED", "TOMADA 2P+T",
          "DISJUNTOR", "MANGUEIRA DE JARDIM", "CADEADO LATÃO", "BROCA PARA CONCRETO", "LIXA D'ÁGUA", "TINTA ACRÍLICA"},
         {"ZINCADO", "CABO EMBORRACHADO", "10A", "20A", "BIVOLT", "9W", "GRÃO 120", "FOSCO", "BRANCO NEVE", "1/4\"",
          "3/16\"", "PROFISSIONAL"},
         {"TRAMONTINA", "VONDER", "GEDORE", "3M", "TIGRE", "PIAL", "STANLEY", "PAPAIZ", "BOSCH", "SUVINIL", "CORAL",
          "STEEL"},
         {"5M", "15M", "50UN", "100G", "1KG", "8\"", "6MM", "3,6L", "18L", "30MM"},
         {"UN", "CX", "PCT", "MT", "KG"}},
        {13, "PAPELARIA", "ESCRITÓRIO", "REVENDA", 5, 1, 60, TDepartamento::Comum,
         {"CADERNO ESPIRAL", "CANETA ESFEROGRÁFICA", "LÁPIS PRETO", "BORRACHA BRANCA", "APONTADOR COM DEPÓSITO",
          "COLA BRANCA", "PAPEL SULFITE", "PASTA CATÁLOGO", "MARCA-TEXTO", "LÁPIS DE COR", "RÉGUA", "TESOURA ESCOLAR",
          "ENVELOPE PARDO", "FITA ADESIVA"},
         {"10 MATÉRIAS", "AZUL", "PRETA", "Nº 2", "A4", "FLUORESCENTE", "12 CORES", "30CM", "SEM PONTA", "TRANSPARENTE"},
         {"TILIBRA", "BIC", "FABER-CASTELL", "PILOT", "CIS", "CHAMEX", "ACRILEX", "MAPED", "DAC", "FORONI"},
         {"", "200 FOLHAS", "90G", "500 FOLHAS", "12UN", "1UN", "48MM X 50M"},
         {"UN", "CX", "PCT", "RESMA"}},
        {14, "BRINQUEDOS", "LAZER", "REVENDA", 4, 9, 299, TDepartamento::Comum,
         {"CARRINHO DE FRICÇÃO", "BONECA DE VINIL", "QUEBRA-CABEÇA", "JOGO DE TABULEIRO", "BOLA DE FUTEBOL",
          "BLOCOS DE MONTAR", "PELÚCIA URSO", "MASSINHA DE MODELAR", "PIPA COLORIDA", "PIÃO COM CORDA"},
         {"500 PEÇAS", "1000 PEÇAS", "COM SOM", "COLECIONÁVEL", "Nº 5", "GIGANTE", "EDUCATIVO", "6 CORES"},
         {"ESTRELA", "GROW", "HOT WHEELS", "BARBIE", "LEGO", "XALINGO", "CANDIDE", "PENALTY", "MATTEL"},
         {""},
         {"UN", "CX", "KIT"}},
        {15, "AÇOUGUE", "ALIMENTOS", "REVENDA", 3, 15, 90, TDepartamento::Pesavel,
         {"ALCATRA BOVINA", "PATINHO MOÍDO", "COSTELA BOVINA", "PICANHA", "FRALDINHA", "COXA E SOBRECOXA",
          "PEITO DE FRANGO", "LINGUIÇA TOSCANA", "PERNIL SUÍNO", "BISTECA SUÍNA", "CARNE-SECA"},
         {"KG", "RESFRIADO", "CONGELADO", "EM BIFES", "EM CUBOS", "SEM OSSO", "TEMPERADO"},
         {"", "FRIBOI", "SADIA", "SEARA", "AURORA", "PERDIGÃO"},
         {""},
         {"KG", "BJ"}},
        {16, "PET SHOP", "LAZER", "REVENDA", 3, 5, 190, TDepartamento::Comum,
         {"RAÇÃO PARA CÃES ADULTOS", "RAÇÃO PARA GATOS", "AREIA SANITÁRIA", "PETISCO BIFINHO", "COLEIRA AJUSTÁVEL",
          "COMEDOURO INOX", "XAMPU PET", "OSSO DE COURO"},
         {"CARNE", "FRANGO", "FILHOTES", "CASTRADOS", "PORTE PEQUENO", "PORTE GRANDE", "SEM CHEIRO"},
         {"PEDIGREE", "WHISKAS", "GOLDEN", "PREMIER", "PURINA", "KELDOG", "CHALESCO"},
         {"1KG", "10,1KG", "15KG", "4KG", "65G", "500ML"},
         {"UN", "PCT", "SC"}},
    };
    return d;
}

struct TFornecedor {
    const char* nome;
    const char* fantasia;
    const char* cidade;
    const char* uf;
    const char* bairro;
};

const std::vector<TFornecedor>& Fornecedores() {
    static const std::vector<TFornecedor> f = {
        {"DISTRIBUIDORA SÃO JOSÉ DE ALIMENTOS LTDA", "SÃO JOSÉ ALIMENTOS", "SÃO PAULO", "SP", "BRÁS"},
        {"ATACADÃO DO CONSTRUTOR COMÉRCIO DE FERRAGENS LTDA", "ATACADÃO DO CONSTRUTOR", "CAMPINAS", "SP", "CENTRO"},
        {"CALÇADOS PASSO FIRME INDÚSTRIA E COMÉRCIO S.A.", "PASSO FIRME", "NOVO HAMBURGO", "RS", "HAMBURGO VELHO"},
        {"MALHARIA ÁGUAS CLARAS LTDA", "ÁGUAS CLARAS MALHAS", "BLUMENAU", "SC", "ITOUPAVA NORTE"},
        {"BEBIDAS GUARANÁ DO NORTE LTDA", "GUARANÁ DO NORTE", "MANAUS", "AM", "DISTRITO INDUSTRIAL"},
        {"HIGIÊNICOS PERFUMARIA BRASIL EIRELI", "PERFUMARIA BRASIL", "BELO HORIZONTE", "MG", "SAVASSI"},
        {"LIMPEZA TOTAL PRODUTOS QUÍMICOS LTDA", "LIMPEZA TOTAL", "GOIÂNIA", "GO", "SETOR CAMPINAS"},
        {"HORTIFRUTIGRANJEIROS VALE VERDE LTDA ME", "VALE VERDE", "MOGI DAS CRUZES", "SP", "BRAZ CUBAS"},
        {"UTILIDADES DO LAR COMÉRCIO ATACADISTA LTDA", "UTILAR", "CURITIBA", "PR", "REBOUÇAS"},
        {"PAPELARIA E LIVRARIA CONTINENTAL LTDA", "CONTINENTAL PAPÉIS", "PORTO ALEGRE", "RS", "NAVEGANTES"},
        {"CONFECÇÕES MARIA CLARA LTDA", "MARIA CLARA MODAS", "FORTALEZA", "CE", "MONTESE"},
        {"FRIGORÍFICO BOI DE OURO S.A.", "BOI DE OURO", "CAMPO GRANDE", "MS", "NOVA LIMA"},
        {"PANIFICADORA E CONFEITARIA ESTRELA D'ALVA LTDA", "ESTRELA D'ALVA", "JUIZ DE FORA", "MG", "SÃO MATEUS"},
        {"BRINQUEDOS ALEGRIA INDÚSTRIA LTDA", "ALEGRIA BRINQUEDOS", "SÃO BERNARDO DO CAMPO", "SP", "RUDGE RAMOS"},
        {"PET & CIA DISTRIBUIDORA LTDA", "PET & CIA", "RIBEIRÃO PRETO", "SP", "JARDIM PAULISTA"},
        {"EMPÓRIO DAS MASSAS COMERCIAL LTDA", "EMPÓRIO DAS MASSAS", "CAXIAS DO SUL", "RS", "SÃO PELEGRINO"},
        {"VINÍCOLA SERRA GAÚCHA LTDA", "SERRA GAÚCHA VINHOS", "BENTO GONÇALVES", "RS", "CIDADE ALTA"},
        {"TÊXTIL NOSSA SENHORA APARECIDA LTDA", "TÊXTIL APARECIDA", "AMERICANA", "SP", "VILA SANTA CATARINA"},
        {"IMPORTADORA ORIENTE MÉDIO COMÉRCIO EXTERIOR LTDA", "ORIENTE IMPORTS", "SANTOS", "SP", "PONTA DA PRAIA"},
        {"COOPERATIVA AGROINDUSTRIAL CAMPO BOM", "COOP CAMPO BOM", "MARINGÁ", "PR", "ZONA 7"},
        {"ELÉTRICA LUZ & FORÇA MATERIAIS ELÉTRICOS LTDA", "LUZ & FORÇA", "RECIFE", "PE", "BOA VIAGEM"},
        {"LATICÍNIOS SERRA DA CANASTRA LTDA", "SERRA DA CANASTRA", "SÃO ROQUE DE MINAS", "MG", "CENTRO"},
    };
    return f;
}

struct TGradeModelo {
    std::vector<std::string_view> nomes;
};

const Lista kCores = {"PRETO", "BRANCO", "AZUL MARINHO", "VERMELHO", "CINZA MESCLA", "VERDE MUSGO", "BEGE", "MARROM",
                      "ROSA CLARO", "AMARELO"};
const Lista kTamanhosRoupa = {"PP", "P", "M", "G", "GG", "XG"};
const Lista kTamanhosJeans = {"36", "38", "40", "42", "44", "46", "48"};
const Lista kTamanhosInfantil = {"RN", "1", "2", "4", "6", "8", "10", "12"};
const Lista kNumerosCalcado = {"33", "34", "35", "36", "37", "38", "39", "40", "41", "42", "43", "44"};

// A few names that break careless SQL: quotes, double quotes and commas.
const Lista kNomesDificeis = {
    "PÃO D'ÁGUA 50G",
    "LIXA D'ÁGUA GRÃO 220 NORTON",
    "BISCOITO MARIA, PACOTE 200G",
    "MANGUEIRA 1/2\" TRANÇADA 15M",
    "CHAVE DE FENDA 3/16\" X 4\" TRAMONTINA",
    "ÓLEO DE COCO, EXTRA VIRGEM 200ML",
    "GOIABADA CASCÃO 'CASEIRA' 600G",
    "SUCO D'UVA INTEGRAL, GARRAFA 1,5L",
    "CAMISA, AZUL",
    "TV 32\" SUPORTE ARTICULADO, PRETO",
    "Café Orgânico \"Fazenda Santa Inês\", 250g",
    "Queijo Minas D'Ouro, Fresco Kg",
};

// Prices and quantities travel as thousandths, so nothing is rounded in binary.
Decimal Mil(int64_t milesimos) { return Decimal::DeUnidades(milesimos, 3); }
Decimal Cent(int64_t centesimos) { return Decimal::DeUnidades(centesimos, 2); }

std::string Ean13(const std::string& doze) { return doze + static_cast<char>('0' + DigitoEan(doze)); }

std::string Zeros(uint64_t v, int largura) {
    std::string s = std::to_string(v);
    if (static_cast<int>(s.size()) < largura) s.insert(0, largura - s.size(), '0');
    return s;
}

std::string Cnpj(TSorteio& r) {
    std::array<int, 14> d{};
    for (int i = 0; i < 8; ++i) d[i] = r.Entre(0, 9);
    d[8] = 0, d[9] = 0, d[10] = 0, d[11] = 1;
    auto dv = [&](int n) {
        static const int p1[] = {5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
        static const int p2[] = {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
        int s = 0;
        for (int i = 0; i < n; ++i) s += d[i] * (n == 12 ? p1[i] : p2[i]);
        int m = s % 11;
        return m < 2 ? 0 : 11 - m;
    };
    d[12] = dv(12);
    d[13] = dv(13);
    std::string s;
    for (int i = 0; i < 14; ++i) {
        if (i == 2 || i == 5) s += '.';
        if (i == 8) s += '/';
        if (i == 12) s += '-';
        s += static_cast<char>('0' + d[i]);
    }
    return s;
}

// Letters of the price code: one letter per digit, as shops write costs on tags.
std::string ValorEmLetras(int64_t milesimos) {
    static const char* chave = "PERNAMBUCO";  // 1..9,0
    std::string digitos = std::to_string(milesimos / 10);  // cents
    std::string r;
    for (char c : digitos) r += chave[(c - '0' + 9) % 10];
    return r.substr(0, 12);
}

// First `max` characters of a UTF-8 text, cut at a blank when possible.
std::string Cortar(const std::string& s, size_t max) {
    std::u32string u = Utf8::Decodificar(s);
    if (u.size() <= max) return s;
    u.resize(max);
    auto espaco = u.find_last_of(U' ');
    if (espaco != std::u32string::npos && espaco > max / 2) u.resize(espaco);
    return Utf8::Codificar(u);
}

std::string Capitalizado(const std::string& s) {
    std::string m = Utf8::Minusculas(s);
    std::u32string u = Utf8::Decodificar(m);
    bool inicio = true;
    for (auto& c : u) {
        if (inicio && c != U' ') {
            std::string up = Utf8::Maiusculas(Utf8::Codificar(std::u32string(1, c)));
            c = Utf8::Decodificar(up)[0];
        }
        inicio = (c == U' ');
    }
    return Utf8::Codificar(u);
}

// Inserts rows into one table several at a time: an EXECUTE BLOCK holding K
// inserts costs the engine far less than K single statements. Values are set
// per column of the current row, as on a TQuery, and sent when the block is full.
class TLote {
public:
    TLote(TDatabase& banco, TTransaction& tr, std::string tabela, std::vector<std::string> colunas, int porLote)
        : banco_(banco), tr_(tr), tabela_(std::move(tabela)), colunas_(std::move(colunas)), porLote_(porLote),
          valores_(static_cast<size_t>(porLote) * colunas_.size()) {}

    void ParamInteiro(int i, int64_t v) { Valor(i) = {TValorLote::Inteiro, Decimal(v), {}, 0}; }
    void ParamDecimal(int i, const Decimal& v) { Valor(i) = {TValorLote::Numero, v, {}, 0}; }
    void ParamTexto(int i, std::string_view v) { Valor(i) = {TValorLote::Texto, {}, std::string(v), 0}; }
    void ParamData(int i, TDateTime v) { Valor(i) = {TValorLote::Data, {}, {}, v}; }
    void ParamNulo(int i) { Valor(i) = {TValorLote::Nulo, {}, {}, 0}; }

    void FimDaLinha() {
        if (++linha_ < porLote_) return;
        if (!cheio_) {
            cheio_ = std::make_unique<TQuery>(banco_, tr_);
            Montar(*cheio_, porLote_);
        }
        Enviar(*cheio_, porLote_);
    }
    // Sends the rows of an unfinished block.
    void Descarregar() {
        if (linha_ == 0) return;
        TQuery resto(banco_, tr_);
        Montar(resto, linha_);
        Enviar(resto, linha_);
    }

private:
    struct TValorLote {
        enum Tipo { Nulo, Inteiro, Numero, Texto, Data } tipo = Nulo;
        Decimal numero;
        std::string texto;
        TDateTime data = 0;
    };
    TValorLote& Valor(int i) { return valores_[static_cast<size_t>(linha_) * colunas_.size() + static_cast<size_t>(i)]; }

    void Enviar(TQuery& q, int linhas) {
        const int n = linhas * static_cast<int>(colunas_.size());
        for (int k = 0; k < n; ++k) {
            const auto& v = valores_[static_cast<size_t>(k)];
            switch (v.tipo) {
                case TValorLote::Nulo: q.ParamNulo(k); break;
                case TValorLote::Inteiro:
                case TValorLote::Numero: q.ParamDecimal(k, v.numero); break;
                case TValorLote::Texto: q.ParamTexto(k, v.texto); break;
                case TValorLote::Data: q.ParamData(k, v.data); break;
            }
        }
        q.ExecSQL();
        linha_ = 0;
    }

    void Montar(TQuery& q, int linhas) {
        const size_t n = colunas_.size();
        std::string decl = "EXECUTE BLOCK (";
        for (size_t k = 0; k < static_cast<size_t>(linhas) * n; ++k)
            decl += (k ? ", P" : "P") + std::to_string(k) + " TYPE OF COLUMN " + tabela_ + "." + colunas_[k % n] + " = ?";
        q.Add(decl + ")");
        q.Add("AS BEGIN");
        std::string cols;
        for (size_t c = 0; c < n; ++c) cols += (c ? ", " : "") + colunas_[c];
        for (int l = 0; l < linhas; ++l) {
            std::string v;
            for (size_t c = 0; c < n; ++c) v += (c ? ", :P" : ":P") + std::to_string(static_cast<size_t>(l) * n + c);
            q.Add("  INSERT INTO " + tabela_ + " (" + cols + ") VALUES (" + v + ");");
        }
        q.Add("END");
    }

    TDatabase& banco_;
    TTransaction& tr_;
    std::string tabela_;
    std::vector<std::string> colunas_;
    int porLote_;
    int linha_ = 0;
    std::vector<TValorLote> valores_;
    std::unique_ptr<TQuery> cheio_;
};

// ------------------------------------------------------------------ writer

class TGerador {
public:
    TGerador(TDatabase& banco, const TOpcoesLojaDemo& o) : banco_(banco), o_(o), r_(o.semente) {}
    TResumoLojaDemo Executar();

private:
    void Departamentos_();
    void Fornecedores_();
    void Impostos();
    void Mercadorias();
    void Grades(int codRed, const TDepartamento& dep, const std::string& ref, int64_t preco);
    void Compras();
    void Formato();
    void Confirmar(bool fim = false);

    TDatabase& banco_;
    const TOpcoesLojaDemo& o_;
    TSorteio r_;
    TResumoLojaDemo resumo_;
    std::unique_ptr<TTransaction> tr_;
    std::unique_ptr<TLote> grades_;
    static constexpr int kPorLote = 4;
    std::vector<std::vector<int>> porFornecedor_;
    uint64_t gradeSeq_ = 0;
    int ean8Seq_ = 0;
    int pendentes_ = 0;
    const TDateTime inicio_ = EncodeDate(2024, 7, 1);
    const TDateTime fim_ = EncodeDate(2025, 6, 30);
};

void TGerador::Confirmar(bool fim) {
    // Large loads commit in steps so the undo log of one transaction stays small.
    if (fim || ++pendentes_ >= 20000) {
        tr_->CommitRetaining();
        pendentes_ = 0;
    }
}

void TGerador::Departamentos_() {
    TQuery q(banco_, *tr_);
    q.Add("INSERT INTO DEPARTAMENTOS (COD_DEP, NOM_DEP, TIPO_ITEM, COM_DEP, NOM_SETOR) VALUES (?, ?, ?, ?, ?)");
    for (const auto& d : Departamentos()) {
        q.ParamInteiro(0, d.codigo);
        q.ParamTexto(1, d.nome);
        q.ParamTexto(2, d.tipo);
        q.ParamDecimal(3, Cent(r_.Entre(0, 8) * 50));
        q.ParamTexto(4, d.setor);
        q.ExecSQL();
        ++resumo_.departamentos;
    }
}

void TGerador::Fornecedores_() {
    TQuery q(banco_, *tr_);
    q.Add("INSERT INTO FORNECEDORES (CODIGO, NOME, FAN_FOR, ENDERECO, BAIRRO, CIDADE, NOM_CIDADE, UF_CIDADE, CEP,");
    q.Add(" FONE1, FAX, CONTATO, CNPJ, IE, EMAIEL, SITE_FOR, REPRESENTANTE, FONEREP1, ATIVO, TIPO, OBS_FOR)");
    q.Add("VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    static const Lista ruas = {"RUA DAS ACÁCIAS", "AV. BRASIL", "RUA SETE DE SETEMBRO", "RODOVIA BR-116, KM 12",
                               "AV. JOÃO PESSOA", "RUA DOM PEDRO II", "TRAVESSA SÃO BENTO", "RUA BARÃO DO RIO BRANCO"};
    static const Lista contatos = {"JOÃO CARLOS", "MARIA APARECIDA", "JOSÉ ANTÔNIO", "ANA LÚCIA", "SÉRGIO",
                                   "CONCEIÇÃO", "FÁBIO", "MÁRCIA", "GUSTAVO HENRIQUE", "LETÍCIA"};
    int codigo = 0;
    for (const auto& f : Fornecedores()) {
        ++codigo;
        int ddd = r_.Entre(11, 99);
        std::string fone = "(" + std::to_string(ddd) + ") " + Zeros(r_.Entre(2000, 3999), 4) + "-" + Zeros(r_.Entre(0, 9999), 4);
        std::string dominio;
        for (char c : Win1252::DeUtf8(f.fantasia)) {
            unsigned char u = static_cast<unsigned char>(c);
            if (std::isalnum(u) && u < 128) dominio += static_cast<char>(std::tolower(u));
        }
        int i = 0;
        q.ParamInteiro(i++, codigo);
        q.ParamTexto(i++, f.nome);
        q.ParamTexto(i++, f.fantasia);
        q.ParamTexto(i++, std::string(r_.De(ruas)) + ", " + std::to_string(r_.Entre(10, 4999)));
        q.ParamTexto(i++, f.bairro);
        q.ParamInteiro(i++, r_.Entre(1000000, 5399999));
        q.ParamTexto(i++, f.cidade);
        q.ParamTexto(i++, f.uf);
        q.ParamTexto(i++, Zeros(r_.Entre(1000, 99999), 5) + "-" + Zeros(r_.Entre(0, 999), 3));
        q.ParamTexto(i++, fone);
        if (r_.Chance(40))
            q.ParamTexto(i++, "(" + std::to_string(ddd) + ") " + Zeros(r_.Entre(2000, 3999), 4) + "-" + Zeros(r_.Entre(0, 9999), 4));
        else
            q.ParamNulo(i++);
        q.ParamTexto(i++, r_.De(contatos));
        q.ParamTexto(i++, Cnpj(r_));
        q.ParamTexto(i++, Zeros(r_.Proximo() % 1000000000000ull, 12));
        q.ParamTexto(i++, "vendas@" + dominio + ".com.br");
        q.ParamTexto(i++, "www." + dominio + ".com.br");
        q.ParamTexto(i++, std::string(r_.De(contatos)));
        q.ParamTexto(i++, "(" + std::to_string(ddd) + ") 9" + Zeros(r_.Entre(8000, 9999), 4) + "-" + Zeros(r_.Entre(0, 9999), 4));
        q.ParamTexto(i++, codigo % 9 == 0 ? "F" : "T");
        q.ParamTexto(i++, "J");
        q.ParamTexto(i++, codigo % 4 == 0 ? "Entrega às terças e sextas.\nPedido mínimo de R$ 500,00." : "");
        q.ExecSQL();
        ++resumo_.fornecedores;
    }
    porFornecedor_.assign(codigo + 1, {});
}

void TGerador::Impostos() {
    TQuery a(banco_, *tr_);
    a.Add("INSERT INTO ALIQUOTAS (COD_PROG, NOM_ALI, ALIQUOTA, ALIQUOTA_FE, CFOP_NFCE, ISS_NFCE) VALUES (?, ?, ?, ?, ?, ?)");
    struct A {
        const char *cod, *nome;
        int aliq;
        const char *cfop, *iss;
    };
    for (const A& x : {A{"01", "ICMS 18%", 1800, "5102", "N"}, A{"02", "ICMS 12%", 1200, "5102", "N"},
                       A{"03", "ICMS 7%", 700, "5102", "N"}, A{"04", "ICMS 25%", 2500, "5102", "N"},
                       A{"05", "ISS 5%", 500, "5933", "S"}, A{"06", "ICMS 0% (SEM DÉBITO)", 0, "5102", "N"},
                       A{"16", "SUBSTITUIÇÃO TRIBUTÁRIA", 0, "5405", "N"}, A{"17", "ISENTO", 0, "5102", "N"},
                       A{"18", "NÃO TRIBUTADO", 0, "5102", "N"}}) {
        a.ParamTexto(0, x.cod);
        a.ParamTexto(1, x.nome);
        a.ParamDecimal(2, Cent(x.aliq));
        a.ParamDecimal(3, Cent(x.aliq));
        a.ParamTexto(4, x.cfop);
        a.ParamTexto(5, x.iss);
        a.ExecSQL();
    }
    TQuery t(banco_, *tr_);
    t.Add("INSERT INTO TRIBUTOS_ICM (COD_TRIB, DESC_TRIB, CST, BASE_ICMS, ICMS_V, MVA, ICMS_ST, IPI, CST_IPI,");
    t.Add(" ST_PAUTA, ISSQN, TIPO_IMP, CBENEF, ALIQ_FCP) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    struct T {
        int cod;
        const char *desc, *cst;
        int base, icms, mva, st4, fcp;
        const char* cbenef;
    };
    for (const T& x : {T{1, "TRIBUTADO INTEGRALMENTE 18%", "000", 10000, 1800, 0, 0, 0, ""},
                       T{2, "TRIBUTADO 12%", "000", 10000, 1200, 0, 0, 0, ""},
                       T{3, "SUBSTITUIÇÃO TRIBUTÁRIA - BEBIDAS", "060", 10000, 1800, 7000, 182500, 200, ""},
                       T{4, "SUBSTITUIÇÃO TRIBUTÁRIA - HIGIENE E LIMPEZA", "060", 10000, 1800, 4162, 180000, 0, ""},
                       T{5, "REDUÇÃO DE BASE DE CÁLCULO (CESTA BÁSICA)", "020", 3889, 1800, 0, 0, 0, "SP020001"},
                       T{6, "ISENTO - HORTIFRÚTI", "040", 0, 0, 0, 0, 0, "SP040001"},
                       T{7, "NÃO TRIBUTADO", "041", 0, 0, 0, 0, 0, ""}}) {
        int i = 0;
        t.ParamInteiro(i++, x.cod);
        t.ParamTexto(i++, x.desc);
        t.ParamTexto(i++, x.cst);
        t.ParamDecimal(i++, Cent(x.base));
        t.ParamDecimal(i++, Cent(x.icms));
        t.ParamDecimal(i++, Cent(x.mva));
        t.ParamDecimal(i++, Decimal::DeUnidades(x.st4, 4));
        t.ParamDecimal(i++, Cent(0));
        t.ParamTexto(i++, "53");
        t.ParamTexto(i++, "N");
        t.ParamTexto(i++, "N");
        t.ParamTexto(i++, "ICMS");
        t.ParamTexto(i++, x.cbenef);
        t.ParamDecimal(i++, Cent(x.fcp));
        t.ExecSQL();
    }
    TQuery p(banco_, *tr_);
    p.Add("INSERT INTO TRIBUTOS_PC (COD_TRIB, DESC_TRIB, PC_ECF, CFOP_ECF, PC_COMPRA, ALIQ_PIS_V, ALIQ_PIS_C,");
    p.Add(" ALIQ_COFINS_V, ALIQ_COFINS_C, COD_PC_ECF) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    struct P {
        int cod;
        const char *desc, *cst;
        int pis, cofins;
    };
    for (const P& x : {P{1, "TRIBUTÁVEL - ALÍQUOTA BÁSICA", "01", 16500, 76000}, P{2, "MONOFÁSICO - REVENDA ALÍQUOTA ZERO", "04", 0, 0},
                       P{3, "SUBSTITUIÇÃO TRIBUTÁRIA", "05", 0, 0}, P{4, "ALÍQUOTA ZERO (CESTA BÁSICA)", "06", 0, 0},
                       P{5, "ISENTO DA CONTRIBUIÇÃO", "07", 0, 0}}) {
        int i = 0;
        p.ParamInteiro(i++, x.cod);
        p.ParamTexto(i++, x.desc);
        p.ParamTexto(i++, x.cst);
        p.ParamTexto(i++, "5102");
        p.ParamTexto(i++, "50");
        p.ParamDecimal(i++, Decimal::DeUnidades(x.pis / 10, 4));
        p.ParamDecimal(i++, Decimal::DeUnidades(x.pis / 10, 4));
        p.ParamDecimal(i++, Decimal::DeUnidades(x.cofins / 10, 4));
        p.ParamDecimal(i++, Decimal::DeUnidades(x.cofins / 10, 4));
        p.ParamInteiro(i++, x.cod);
        p.ExecSQL();
    }
}

void TGerador::Mercadorias() {
    TLote q(banco_, *tr_, "MERCADORIAS",
            {"COD_RED", "COD_BAR", "NOM_MER", "APE_CUP", "REF_MER", "DEP_MER", "COD_FOR", "UNI_MER", "LOC_MER",
             "QTD_EST", "QTD_EST_2", "QTD_MIN", "QTD_EST_MAX", "VLR_VEN", "VLR_VEN_2", "VLR_VEN_3", "VLR_COM",
             "VLR_CUS", "CUSTO_OPE", "LUCRO", "LUCRO2", "LUCRO3", "VALORLETRAS", "ICM_PROG", "SIT_TRIB", "CLAS_FISC",
             "ALIQ_ICMS", "DIF_ICM", "COD_NCM", "COD_TRI_ICM", "COD_TRI_PC", "COD_ANT", "GARANTIA", "APLICACAO",
             "APLICACAO2", "DATA_ULTCOM", "DATA_ULTVEN", "DATA_CAD", "DATA_ALT", "PRO_EST", "PRO_ATIVO", "TEM_GRADE",
             "IPI_MER", "PERC_FRE", "ALIQ_MVA", "VLR_VEN_M", "QTD_INI_INV", "COMISSAO", "UNI_BAL", "CAD_RECEITA"},
            kPorLote);
    grades_ = std::make_unique<TLote>(banco_, *tr_, "GRADES_PRODUTOS_P",
                                      std::vector<std::string>{"COD_MER", "NOME_GRA", "QTD_GRA", "COD_BAR", "REF_MER", "VLR_GRADE"},
                                      kPorLote);

    const auto& deps = Departamentos();
    int pesoTotal = 0;
    for (const auto& d : deps) pesoTotal += d.peso;
    const int n = o_.mercadorias;
    const auto& dificil = kNomesDificeis;
    int dificeis = 0;
    static const Lista locais = {"A", "B", "C", "D", "E", "DEP"};

    for (int cod = 1; cod <= n; ++cod) {
        // department by weight
        int sorte = r_.Entre(1, pesoTotal), di = 0;
        while (sorte > deps[di].peso) sorte -= deps[di++].peso;
        const TDepartamento& dep = deps[di];
        bool pesavel = dep.classe == TDepartamento::Pesavel;
        bool vestuario = dep.classe == TDepartamento::Roupa || dep.classe == TDepartamento::Calcado;

        // name: item, details and brand, some long enough to reach the 40-50 range
        std::string nome = std::string(r_.De(dep.itens));
        std::string marca = std::string(r_.De(dep.marcas));
        std::string tamanho = std::string(r_.De(dep.tamanhos));
        int alvo = r_.Chance(35) ? r_.Entre(40, 50) : r_.Entre(14, 38);
        nome += " " + std::string(r_.De(dep.detalhes));
        if (!marca.empty()) nome += " " + marca;
        if (!tamanho.empty()) nome += " " + tamanho;
        for (int tent = 0; tent < 4 && static_cast<int>(Comprimento(nome)) < alvo; ++tent) {
            std::string extra = " " + std::string(r_.De(dep.detalhes));
            if (nome.find(extra.substr(1)) == std::string::npos) nome += extra;
        }
        if ((cod % 97 == 13 || (n < 2000 && cod % 29 == 7)) && dificeis < static_cast<int>(dificil.size()) * 50)
            nome = std::string(dificil[dificeis++ % dificil.size()]);
        nome = Cortar(nome, 50);
        if (r_.Chance(12)) nome = Capitalizado(nome);

        // barcode
        std::string barras;
        int tipoCodigo = r_.Entre(1, 1000);
        if (pesavel && tipoCodigo <= 800 && cod < 1000000) {
            barras = Zeros(cod, r_.Entre(static_cast<int>(std::to_string(cod).size()), 6));
        } else if (tipoCodigo <= 15 && cod < 1000000) {
            static const Lista prefixos = {"CX", "AB", "KIT", "P", "MX"};
            barras = std::string(r_.De(prefixos)) + std::to_string(cod);
        } else if (tipoCodigo <= 22) {
            barras = "";
        } else if (tipoCodigo <= 80 && ean8Seq_ < 10000) {
            uint64_t x = (static_cast<uint64_t>(ean8Seq_++) * 7919ull + 4321ull) % 10000ull;
            std::string sete = "789" + Zeros(x, 4);
            barras = sete + static_cast<char>('0' + DigitoEan(sete));
        } else {
            uint64_t x = (static_cast<uint64_t>(cod) * 387420489ull + 123456789ull) % 1000000000ull;
            barras = Ean13("789" + Zeros(x, 9));
        }

        // prices in thousandths
        int64_t preco;
        if (pesavel)
            preco = static_cast<int64_t>(r_.Entre(dep.precoMin * 100, dep.precoMax * 100)) * 10 + r_.Entre(0, 9);
        else {
            preco = static_cast<int64_t>(r_.Entre(dep.precoMin, dep.precoMax)) * 1000;
            static const int finais[] = {990, 490, 0, 500, 890, 750, 125, 375};
            preco += finais[r_.Proximo() % 8];
        }
        int64_t compra = preco * r_.Entre(450, 750) / 1000;
        int64_t custo = compra * r_.Entre(1030, 1150) / 1000;
        int64_t custoOpe = custo + custo * r_.Entre(0, 80) / 1000;
        int64_t lucro = custo > 0 ? (preco - custo) * 100000 / custo : 0;  // % with 3 decimals
        int64_t preco2 = r_.Chance(30) ? preco * 95 / 100 : 0;
        int64_t preco3 = r_.Chance(15) ? preco * 90 / 100 : 0;

        // stock: below, at and above zero; weighed goods with fractions
        int64_t estoque;
        int faixa = r_.Entre(1, 100);
        if (faixa <= 8)
            estoque = -static_cast<int64_t>(r_.Entre(1, 20)) * 1000;
        else if (faixa <= 22)
            estoque = 0;
        else
            estoque = static_cast<int64_t>(r_.Entre(1, 400)) * 1000;
        if (pesavel && estoque != 0) estoque += (estoque > 0 ? 1 : -1) * r_.Entre(0, 999);
        int64_t minimo = static_cast<int64_t>(r_.Entre(0, 25)) * 1000;
        int64_t maximo = minimo + static_cast<int64_t>(r_.Entre(20, 450)) * 1000;
        int64_t estoque2 = r_.Chance(20) ? static_cast<int64_t>(r_.Entre(-5, 40)) * 1000 : 0;

        int fornecedor = r_.Entre(1, static_cast<int>(porFornecedor_.size()) - 1);
        porFornecedor_[fornecedor].push_back(cod);
        bool temGrade = vestuario && r_.Chance(50);
        std::string ref;
        if (vestuario || r_.Chance(50)) {
            static const Lista prefRef = {"REF", "CM", "MD", "", "ART"};
            std::string p(r_.De(prefRef));
            ref = (p.empty() ? "" : p + "-") + std::to_string(r_.Entre(100, 99999)) + (r_.Chance(30) ? "-" + std::string(1, static_cast<char>('A' + r_.Entre(0, 5))) : "");
        }

        TDateTime alt = inicio_ + r_.Entre(0, static_cast<int>(fim_ - inicio_));
        TDateTime cad = alt - r_.Entre(0, 2000);
        static const struct {
            const char* icm;
            int aliq, triIcm, triPc;
            const char* sit;
        } trib[] = {{"01", 1800, 1, 1, "000"}, {"02", 1200, 2, 1, "000"}, {"16", 0, 3, 2, "060"}, {"16", 0, 4, 3, "060"},
                    {"03", 700, 5, 4, "020"},  {"17", 0, 6, 4, "040"},    {"18", 0, 7, 5, "041"}};
        int ti = dep.codigo == 3 ? 5 : dep.codigo == 2 ? 2 : dep.codigo == 9 || dep.codigo == 10 ? 3 : r_.Entre(0, 6);

        int i = 0;
        q.ParamInteiro(i++, cod);
        q.ParamTexto(i++, barras);
        q.ParamTexto(i++, nome);
        q.ParamTexto(i++, Cortar(nome, 30));
        if (ref.empty()) q.ParamNulo(i++); else q.ParamTexto(i++, ref);
        q.ParamInteiro(i++, dep.codigo);
        q.ParamInteiro(i++, fornecedor);
        q.ParamTexto(i++, r_.De(dep.unidades));
        q.ParamTexto(i++, std::string(r_.De(locais)) + Zeros(r_.Entre(1, 40), 2) + "-P" + std::to_string(r_.Entre(1, 6)));
        q.ParamDecimal(i++, Mil(estoque));
        q.ParamDecimal(i++, Mil(estoque2));
        q.ParamDecimal(i++, Mil(minimo));
        q.ParamDecimal(i++, Mil(maximo));
        q.ParamDecimal(i++, Mil(preco));
        q.ParamDecimal(i++, Mil(preco2));
        q.ParamDecimal(i++, Mil(preco3));
        q.ParamDecimal(i++, Mil(compra));
        q.ParamDecimal(i++, Mil(custo));
        q.ParamDecimal(i++, Mil(custoOpe));
        q.ParamDecimal(i++, Mil(lucro));
        q.ParamDecimal(i++, Mil(preco2 && custo ? (preco2 - custo) * 100000 / custo : 0));
        q.ParamDecimal(i++, Mil(preco3 && custo ? (preco3 - custo) * 100000 / custo : 0));
        q.ParamTexto(i++, ValorEmLetras(custo));
        q.ParamTexto(i++, trib[ti].icm);
        q.ParamTexto(i++, trib[ti].sit);
        q.ParamTexto(i++, std::to_string(r_.Entre(10, 99)) + std::string(1, static_cast<char>('A' + r_.Entre(0, 3))));
        q.ParamDecimal(i++, Cent(trib[ti].aliq));
        q.ParamDecimal(i++, Cent(0));
        q.ParamInteiro(i++, r_.Entre(10000000, 96000000));
        q.ParamInteiro(i++, trib[ti].triIcm);
        q.ParamInteiro(i++, trib[ti].triPc);
        if (r_.Chance(20)) q.ParamTexto(i++, Zeros(r_.Entre(1, 999999), 6)); else q.ParamNulo(i++);
        q.ParamInteiro(i++, dep.codigo == 12 || dep.codigo == 11 ? r_.De(std::array{0, 3, 6, 12}) : 0);
        // custom code (digits) for some, a usage note for others
        if (r_.Chance(25))
            q.ParamTexto(i++, Zeros(r_.Entre(1, 999999), 6));
        else if (r_.Chance(20))
            q.ParamTexto(i++, std::string("Uso ") + (vestuario ? "adulto, lavar à mão" : "doméstico, manter em local seco"));
        else
            q.ParamNulo(i++);
        q.ParamNulo(i++);
        q.ParamData(i++, alt - r_.Entre(0, 60));
        if (r_.Chance(85)) q.ParamData(i++, alt + r_.Entre(0, 30)); else q.ParamNulo(i++);
        q.ParamData(i++, cad);
        q.ParamData(i++, alt);
        q.ParamTexto(i++, r_.Chance(85) ? "T" : "F");
        q.ParamTexto(i++, r_.Chance(92) ? "T" : "F");
        q.ParamTexto(i++, temGrade ? "T" : "F");
        q.ParamDecimal(i++, Cent(0));
        q.ParamDecimal(i++, Cent(0));
        q.ParamDecimal(i++, Cent(0));
        q.ParamDecimal(i++, Mil(0));
        q.ParamDecimal(i++, Mil(0));
        q.ParamDecimal(i++, Mil(vestuario ? 3000 : 0));
        q.ParamTexto(i++, pesavel ? "T" : "F");
        q.ParamTexto(i++, "F");
        q.FimDaLinha();
        ++resumo_.mercadorias;
        if (temGrade) Grades(cod, dep, ref, preco);
        Confirmar();
        if (o_.progresso && (cod % 5000 == 0 || cod == n)) o_.progresso(cod, n);
    }
    q.Descarregar();
    grades_->Descarregar();
    grades_.reset();
}

void TGerador::Grades(int codRed, const TDepartamento& dep, const std::string& ref, int64_t preco) {
    std::vector<std::string> nomes;
    const Lista* tam;
    bool comCor = r_.Chance(45);
    if (dep.classe == TDepartamento::Calcado)
        tam = &kNumerosCalcado;
    else if (dep.codigo == 8)
        tam = &kTamanhosInfantil;
    else
        tam = r_.Chance(30) ? &kTamanhosJeans : &kTamanhosRoupa;
    int quantos = std::min<int>(r_.Entre(3, 6), static_cast<int>(tam->size()));
    int ini = r_.Entre(0, static_cast<int>(tam->size()) - quantos);
    std::string cor(r_.De(kCores));
    for (int k = 0; k < quantos; ++k) {
        std::string t((*tam)[ini + k]);
        nomes.push_back(comCor ? cor + " " + t : t);
    }
    if (comCor && r_.Chance(50)) {  // a second colour in a couple of sizes
        std::string cor2(r_.De(kCores));
        if (cor2 != cor)
            for (int k = 0; k < 2 && k < quantos; ++k) nomes.push_back(cor2 + " " + std::string((*tam)[ini + k]));
    }
    bool barrasProprias = r_.Chance(60);
    bool precoProprio = r_.Chance(35);
    for (size_t k = 0; k < nomes.size(); ++k) {
        auto& g = *grades_;
        g.ParamInteiro(0, codRed);
        g.ParamTexto(1, nomes[k]);
        int64_t qtd = r_.Chance(8) ? -static_cast<int64_t>(r_.Entre(1, 3)) * 1000 : static_cast<int64_t>(r_.Entre(0, 15)) * 1000;
        g.ParamDecimal(2, Mil(qtd));
        if (barrasProprias) {
            // in-store EAN-13 (prefix 2), distinct from the goods' own
            uint64_t x = (++gradeSeq_ * 7368787ull + 1000003ull) % 100000000000ull;
            g.ParamTexto(3, Ean13("2" + Zeros(x, 11)));
        } else {
            g.ParamTexto(3, "");
        }
        if (ref.empty()) g.ParamNulo(4); else g.ParamTexto(4, Cortar(ref + "-" + std::to_string(k + 1), 30));
        // the larger sizes cost a little more; 0 means the good's price
        g.ParamDecimal(5, Mil(precoProprio && k >= nomes.size() / 2 ? preco + preco / 10 : 0));
        g.FimDaLinha();
        ++resumo_.grades;
    }
    ++resumo_.mercadoriasComGrade;
}

void TGerador::Compras() {
    TQuery c(banco_, *tr_);
    c.Add("INSERT INTO COMPRAS (NRO_NOT, INTEGRADOR, COD_FOR, DATA_EMI, DATA_ENT, VLR_TOT) VALUES (?, ?, ?, ?, ?, ?)");
    TLote it(banco_, *tr_, "ITENSCOMPRA", {"NRO_NOT", "INTEGRADOR", "ITEM", "COD_MER", "QTD_COM", "VLR_UNI"}, kPorLote);
    int total = std::max(12, o_.mercadorias / 60);
    size_t nf = porFornecedor_.size() - 1;
    std::vector<int> proximaNota(nf + 1);
    for (size_t f = 1; f <= nf; ++f) proximaNota[f] = r_.Entre(1000, 250000);
    // two suppliers share an invoice number, as happens: INTEGRADOR tells them apart
    if (nf >= 2) proximaNota[2] = proximaNota[1];
    for (int k = 0; k < total; ++k) {
        int f = static_cast<int>(k < 2 ? k + 1 : r_.Entre(1, static_cast<int>(nf)));
        const auto& goods = porFornecedor_[f];
        if (goods.empty()) continue;
        int nota = proximaNota[f]++;
        TDateTime emi = inicio_ + r_.Entre(0, static_cast<int>(fim_ - inicio_));
        int itens = std::min<int>(r_.Entre(3, 20), static_cast<int>(goods.size()));
        size_t base = r_.Proximo() % goods.size();
        int64_t totalNota = 0;
        for (int j = 0; j < itens; ++j) {
            int cod = goods[(base + static_cast<size_t>(j) * 7) % goods.size()];
            if (j > 0 && cod == goods[base]) break;
            int64_t qtd = static_cast<int64_t>(r_.Entre(1, 48)) * 1000;
            int64_t unit = r_.Entre(500, 150000);
            it.ParamInteiro(0, nota);
            it.ParamInteiro(1, f);
            it.ParamInteiro(2, j + 1);
            it.ParamInteiro(3, cod);
            it.ParamDecimal(4, Mil(qtd));
            it.ParamDecimal(5, Mil(unit));
            it.FimDaLinha();
            totalNota += qtd / 1000 * unit / 10;
            ++resumo_.itensCompra;
        }
        c.ParamInteiro(0, nota);
        c.ParamInteiro(1, f);
        c.ParamInteiro(2, f);
        c.ParamData(3, emi);
        c.ParamData(4, emi + r_.Entre(0, 6));
        c.ParamDecimal(5, Cent(totalNota));
        c.ExecSQL();
        ++resumo_.compras;
    }
    it.Descarregar();
}

void TGerador::Formato() {
    TQuery q(banco_, *tr_);
    q.Add("INSERT INTO FORMATMRG (COD_MRG, NOM_CAMPO, TIT_CAMPO, ORD_IMP, TAM_IMP, PRINT_CAMPO, AUX_1, AUX_2, AUX_3, AUX_4, AUX_5)");
    q.Add("VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    struct L {
        int cod;
        const char *campo, *titulo;
        int ord, tam;
        const char* print;
        int a1, a2, a3;
        const char* a4;
    };
    // Header: three labels per row, 34 mm apart; then the fields of a 33 x 22 mm label.
    for (const L& l : {L{113, "TAMANHO", "Etiqueta 33 x 22 mm", 3, 34, "T", 0, 0, 0, ""},
                       L{13, "NOME", "Descrição", 0, 22, "T", 2, 18, 1, ""},
                       L{13, "CODIGO DE BARRAS", "Código de barras", 0, 20, "T", 0, 7, 3, "A"},
                       L{13, "TEXTO LIVRE 1", "R$", 0, 2, "T", 2, 2, 2, ""},
                       L{13, "VALOR DE VENDA", "Preço", 0, 10, "T", 3, 2, 7, ""},
                       L{13, "CODIGO REDUZIDO", "Código", 0, 6, "T", 1, 15, 1, ""},
                       L{13, "REFERENCIA", "Referência", 0, 12, "F", 1, 15, 14, ""},
                       L{13, "TEXTO LIVRE 2", "Loja Demonstração", 0, 20, "F", 1, 20, 1, ""}}) {
        int i = 0;
        q.ParamInteiro(i++, l.cod);
        q.ParamTexto(i++, l.campo);
        q.ParamTexto(i++, l.titulo);
        q.ParamInteiro(i++, l.ord);
        q.ParamInteiro(i++, l.tam);
        q.ParamTexto(i++, l.print);
        q.ParamInteiro(i++, l.a1);
        q.ParamInteiro(i++, l.a2);
        q.ParamInteiro(i++, l.a3);
        q.ParamTexto(i++, l.a4);
        q.ParamNulo(i++);
        q.ExecSQL();
        ++resumo_.linhasFormato;
    }
}

TResumoLojaDemo TGerador::Executar() {
    // secondary indexes are built once the rows are in: far faster than row by row
    CriarTabelasLoja(banco_);
    tr_ = std::make_unique<TTransaction>(banco_, std::vector<std::string>{"concurrency", "nowait"});
    Departamentos_();
    Fornecedores_();
    Impostos();
    Formato();
    Mercadorias();
    Compras();
    tr_->Commit();
    CriarIndicesLoja(banco_);
    tr_.reset();
    return resumo_;
}

}  // namespace

TResumoLojaDemo CriarLojaDemo(const TOpcoesLojaDemo& o) {
    if (o.mercadorias < 1 || o.mercadorias > 10000000)
        throw Exception("Número de mercadorias inválido: " + std::to_string(o.mercadorias) + " (de 1 a 10000000).");
    if (Trim(o.caminho).empty()) throw Exception("Informe o caminho do banco de dados a criar.");

    const bool local = TDatabase::EhCaminhoLocal(o.caminho);
    TDatabase banco;
    // Loaded without a disk flush per commit; synchronous writes, as a shop has
    // them, are switched on again once the data is in.
    auto carga = o.parametros;
    carga.push_back("force_write=0");
    banco.SetParametros(carga);
    auto sincrono = [&](const std::string& caminho) {
        TDatabase d;
        auto p = o.parametros;
        p.push_back("force_write=1");
        d.SetParametros(p);
        d.SetCaminho(caminho);
        d.Conectar();
        d.Desconectar();
    };

    if (!local) {
        if (o.substituir) {
            TDatabase antigo;
            antigo.SetParametros(o.parametros);
            antigo.SetCaminho(o.caminho);
            bool existe = true;
            try {
                antigo.Conectar();
            } catch (const EFbErro& e) {
                if (e.CodigoGds() != isc_io_error) throw;
                existe = false;  // nothing there to replace
            }
            if (existe) antigo.ApagarBanco();
        }
        banco.SetCaminho(o.caminho);
        banco.CriarBanco();
        try {
            TGerador g(banco, o);
            auto r = g.Executar();
            banco.Desconectar();
            sincrono(o.caminho);
            return r;
        } catch (...) {
            try {
                banco.ApagarBanco();
            } catch (...) {
            }
            throw;
        }
    }

    fs::path destino(o.caminho);
    std::error_code ec;
    fs::path pasta = destino.has_parent_path() ? destino.parent_path() : fs::path(".");
    if (!fs::is_directory(pasta, ec))
        throw Exception("A pasta \"" + pasta.string() + "\" não existe: o banco de dados não foi criado.");
    // A folder is said to be one: --substituir would not help there.
    if (fs::is_directory(destino, ec)) throw Exception("\"" + o.caminho + "\" é uma pasta, não um arquivo de banco de dados.");
    if (fs::exists(destino, ec) && !o.substituir)
        throw Exception("O banco de dados \"" + o.caminho + "\" já existe. Use --substituir para recriá-lo.");

    // Built under a temporary name and moved into place only when whole.
    fs::path temporario = destino;
    temporario += ".criando-" + std::to_string(::getpid());
    fs::remove(temporario, ec);
    banco.SetCaminho(temporario.string());
    TResumoLojaDemo resumo;
    try {
        banco.CriarBanco();
        TGerador g(banco, o);
        resumo = g.Executar();
        banco.Desconectar();
        sincrono(temporario.string());
        fs::rename(temporario, destino);
    } catch (const fs::filesystem_error& e) {
        banco.Desconectar();
        fs::remove(temporario, ec);
        throw EOSError("Não foi possível gravar \"" + o.caminho + "\": " + MensagemErroSistema(e.code().value()));
    } catch (const Exception& e) {
        banco.Desconectar();
        fs::remove(temporario, ec);
        // The operator named the target; the temporary name means nothing to him.
        std::string msg = e.what();
        const std::string temp = temporario.string();
        for (size_t i = msg.find(temp); i != std::string::npos; i = msg.find(temp, i + o.caminho.size()))
            msg.replace(i, temp.size(), o.caminho);
        msg = "Não foi possível criar o banco de dados \"" + o.caminho + "\": " + msg;
        if (dynamic_cast<const EDatabaseError*>(&e)) throw EDatabaseError(msg);
        throw Exception(msg);
    } catch (...) {
        banco.Desconectar();
        fs::remove(temporario, ec);
        throw;
    }
    return resumo;
}

}  // namespace fb
