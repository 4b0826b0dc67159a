#pragma once
// What this station can print to: spooler printers, USB printers, serial and
// parallel ports, each with the port name to configure.
#include <string>
#include <vector>

struct TPortaDisponivel {
    enum TTipo { tpSpooler, tpUSB, tpSerial, tpParalela } Tipo;
    std::string Porta;    // as typed in the configuration
    std::string Caminho;  // device node or spooler address
    std::string Descricao;
    bool Padrao = false;  // the spooler's default printer
    int Classe = -1;      // USB: identifier-table class, -1 unknown
};

struct TListaPortas {
    bool SpoolerResponde = false;
    std::vector<TPortaDisponivel> Portas;
};

// raizSys and raizDev point elsewhere for tests.
TListaPortas PortasDisponiveis(const std::string& raizSys = "/sys", const std::string& raizDev = "/dev",
                               int timeOutMs = 3000);
