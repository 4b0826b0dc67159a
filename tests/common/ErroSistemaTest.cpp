#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <new>
#include <stdexcept>

#include "common/ErroSistema.h"
#include "common/Excecoes.h"

TEST(ErroSistema, ErrosComunsEmPortuguesEOsOutrosSemTextoEmIngles) {
    EXPECT_EQ(MensagemErroSistema(EISDIR), "O caminho é uma pasta");
    EXPECT_EQ(MensagemErroSistema(EROFS), "Sistema de arquivos somente para leitura");
    EXPECT_EQ(MensagemErroSistema(EFBIG), "Arquivo grande demais");
    // A rare one keeps its number and symbolic name, never "Value too large for defined data type".
    EXPECT_EQ(MensagemErroSistema(EOVERFLOW), "Erro do sistema " + std::to_string(EOVERFLOW) + " (EOVERFLOW)");
}

TEST(ErroSistema, FalhasDaBibliotecaPadraoViramTextoEmPortugues) {
    struct Caso {
        std::function<void()> lancar;
        std::string texto;
    };
    const Caso casos[] = {
        {[] { throw Exception("Porta não definida"); }, "Porta não definida"},
        {[] { throw std::bad_alloc(); }, "Memória insuficiente para concluir a operação"},
        {[] {
             throw std::filesystem::filesystem_error("remove", "/tmp/x.fdb",
                                                     std::make_error_code(std::errc::is_a_directory));
         },
         "Erro no arquivo /tmp/x.fdb: O caminho é uma pasta"},
        {[] { throw std::system_error(ECONNREFUSED, std::generic_category()); }, "Conexão recusada"},
        {[] { throw std::out_of_range("stoi"); }, "Valor fora da faixa permitida"},
    };
    for (const auto& c : casos) {
        try {
            c.lancar();
            ADD_FAILURE() << "nada lançado";
        } catch (const std::exception& e) {
            EXPECT_EQ(MensagemDaFalha(e), c.texto);
        }
    }
}
