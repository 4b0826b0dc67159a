#include "device/PortasDisponiveis.h"

#include <algorithm>
#include <filesystem>

#include "common/UFuncoes.h"
#include "device/CdbDevice.h"
#include "device/CdbDeviceRaw.h"
#include "device/CdbDeviceWinUSB.h"
#include "device/Sysfs.h"

namespace fs = std::filesystem;

namespace {

// The board's ports first, then adapters; numbers in number order (ttyS2 before ttyS10).
bool MenorPorNumero(const std::string& a, const std::string& b) {
    auto num = [](const std::string& s) {
        std::string d = SoNumeros(s);
        return d.empty() ? -1 : std::stoi(d);
    };
    auto grupo = [](const std::string& s) {
        std::string p = s.substr(0, s.find_first_of("0123456789"));
        return p == "ttyS" ? std::string("0") : p;
    };
    if (grupo(a) != grupo(b)) return grupo(a) < grupo(b);
    return num(a) < num(b);
}

}  // namespace

TListaPortas PortasDisponiveis(const std::string& raizSys, const std::string& raizDev, int timeOutMs) {
    TListaPortas r;
    for (const auto& i : TCdbDeviceRaw::ImpressorasInstaladas(timeOutMs, &r.SpoolerResponde)) {
        TPortaDisponivel p{TPortaDisponivel::tpSpooler, i.Nome, i.Endereco, i.Descricao, i.Padrao};
        r.Portas.push_back(p);
    }

    TCdbDevice d;
    d.USB().DefinirRaizes(raizSys, raizDev);
    std::vector<std::string> ttysUSB;
    for (const auto& u : d.USB().Dispositivos()) {
        TPortaDisponivel p{TPortaDisponivel::tpUSB, "", u.Caminho, u.Descricao};
        // A serial adapter is configured by its tty; the rest by description.
        p.Porta = u.ClasseInterface == TClasseInterfaceUSB::ciPorta ? u.Caminho : "USB:" + u.Descricao;
        p.Classe = (u.Fabricante.empty() && u.Produto.empty()) ? -1 : u.Classe;
        if (u.ClasseInterface == TClasseInterfaceUSB::ciPorta) ttysUSB.push_back(u.Caminho);
        r.Portas.push_back(p);
    }

    std::vector<std::string> ttys;
    std::error_code ec;
    for (fs::directory_iterator it(fs::path(raizSys) / "class" / "tty", ec), fim; !ec && it != fim; it.increment(ec)) {
        std::string nome = it->path().filename().string();
        if (ComecaCom(nome, "ttyS")) {
            // The kernel reserves ttyS0-3 even without a UART: type 0 means none there.
            std::string tipo = AtributoSysfs(it->path() / "type");
            if (tipo.empty() || tipo == "0") continue;
        } else if (!ComecaCom(nome, "ttyUSB") && !ComecaCom(nome, "ttyACM")) {
            continue;
        }
        ttys.push_back(nome);
    }
    std::sort(ttys.begin(), ttys.end(), MenorPorNumero);
    const std::string pastaDev = raizDev + "/";
    for (const auto& nome : ttys) {
        const std::string caminho = pastaDev + nome;
        if (std::find(ttysUSB.begin(), ttysUSB.end(), caminho) != ttysUSB.end()) continue;  // listed above
        TPortaDisponivel p{TPortaDisponivel::tpSerial, caminho, caminho, ""};
        if (ComecaCom(nome, "ttyS")) {
            // ttySAC0, ttySC1...: other UARTs of the board, named by path
            const std::string num = nome.substr(4);
            if (!num.empty() && num.size() <= 3 && SoNumeros(num) == num)
                p.Porta = "COM" + std::to_string(std::stoi(num) + 1);
            p.Descricao = "porta serial da placa";
        } else {
            p.Descricao = "adaptador USB serial";
        }
        r.Portas.push_back(p);
    }

    std::vector<std::string> lps;
    for (fs::directory_iterator it(fs::path(raizSys) / "class" / "printer", ec), fim; !ec && it != fim;
         it.increment(ec)) {
        std::string nome = it->path().filename().string();
        if (ComecaCom(nome, "lp") && SoNumeros(nome.substr(2)) == nome.substr(2) && nome.size() > 2)
            lps.push_back(nome);
    }
    std::sort(lps.begin(), lps.end(), MenorPorNumero);
    for (const auto& nome : lps) {
        TPortaDisponivel p{TPortaDisponivel::tpParalela, "LPT" + std::to_string(std::stoi(nome.substr(2)) + 1),
                           pastaDev + nome, "porta paralela"};
        r.Portas.push_back(p);
    }
    return r;
}
