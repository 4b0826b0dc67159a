#pragma once
// The host status of a ZPL II printer ("~HS"), read before a print and after
// its last job. The answer is three lines, each between STX and ETX; read here:
//   line 1, field 2  paper out          line 2, field 3  head up (open)
//   line 1, field 3  paused             line 2, field 4  ribbon out
//   line 1, field 6  receive buffer full
// Many printers (and every PPLA/EPL2 one) do not answer: that is no status,
// never a fault.
#include <optional>
#include <string>
#include <string_view>

class TCdbDevice;

struct TStatusZpl {
    bool semPapel = false;
    bool pausa = false;
    bool bufferCheio = false;
    bool cabecaAberta = false;
    bool semRibbon = false;
    // The faults in Portuguese, joined by "; " ("" when the printer is ready).
    std::string Falha() const;
};

// The answer to "~HS"; nullopt when the text is not one.
std::optional<TStatusZpl> InterpretarStatusHS(std::string_view resposta);

// Asks a printer on a TCP port and waits up to timeOutMs; nullopt when it
// did not answer (or answered something else). Other ports are not asked.
std::optional<TStatusZpl> ConsultarStatusZpl(TCdbDevice& device, int timeOutMs);
