#pragma once
// A small shop for the queue tests: goods with and without variants, a code
// that is both a goods and a variant barcode, a variant whose goods is gone.
// Set-up and checks use a connection of their own that is closed again at
// once, so etiquetas-cli, run as another process, can open the file too.
#include <string>
#include <vector>

#include "BancoTeste.h"
#include "data/udtmAplicativo.h"

class FilaBanco : public BancoTeste {
protected:
    void SetUp() override {
        BancoTeste::SetUp();
        std::vector<std::string> sql;
        for (const char* v : {
                 "(10, '789100', 'CAFE PILAO', 'REF-CAFE', 3.5, 12.5)",
                 "(20, '789200', 'ARROZ', 'REF-ARROZ', -2, 20)",
                 "(30, '789300', 'CAMISA', 'REF-CAMISA', 0, 50)",
                 "(40, '789400', 'O''NEIL, PRETO', 'REF-ONEIL', 1, 9.99)",
             })
            sql.push_back(
                std::string("insert into mercadorias (cod_red, cod_bar, nom_mer, ref_mer, qtd_est, vlr_ven) values ") +
                v);
        for (const char* v : {
                 "(30, '555001', 'AZUL 42', 2, 0)", "(30, '555002', 'VERDE', 1.25, 45.9)",
                 "(30, '789100', 'BRANCA', 7, 1)",  // the barcode of goods 10 as well
                 "(99, '555099', 'ORFA', 1, 1)",    // its goods row was deleted
             })
            sql.push_back(
                std::string("insert into grades_produtos_p (cod_mer, cod_bar, nome_gra, qtd_gra, vlr_grade) values ") +
                v);
        ExecutarAParte(sql);
    }

    void ExecutarAParte(const std::vector<std::string>& comandos) {
        for (const auto& c : comandos) Executar(c);
        FecharOutro();
    }

    std::string TextoAParte(const std::string& sql) {
        std::string r = Texto(sql);
        FecharOutro();
        return r;
    }

    // The committed queue as another workstation sees it, in NOME order:
    // CODIGO|BARRAS|NOME|SO_NOME|ESTOQUE|VLR_VEN|NRO_LOTE|QUANTIDADE rows joined by ";".
    std::string FilaGravada() {
        return TextoAParte(
            "select list(r, ';') from (select codigo || '|' || coalesce(barras, '') || '|' || coalesce(nome, '') || "
            "'|' ||"
            " coalesce(so_nome, '') || '|' || coalesce(estoque, '') || '|' || coalesce(vlr_ven, '') || '|' ||"
            " coalesce(nro_lote, '') || '|' || coalesce(quantidade, '') as r from etiquetaread order by nome, barras)");
    }

    void Enfileirar(const std::vector<std::string>& valores) {
        std::vector<std::string> sql;
        for (const auto& v : valores)
            sql.push_back(
                "insert into etiquetaread (codigo, barras, nome, so_nome, estoque, vlr_ven, quantidade) values (" + v +
                ")");
        ExecutarAParte(sql);
    }
};
