#include "device/ErroSistema.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

std::string MensagemErroSistema(int erro) {
    switch (erro) {
        case ENOENT: return "Arquivo ou dispositivo não encontrado";
        case EACCES:
        case EPERM: return "Acesso negado";
        case EBUSY: return "Dispositivo ocupado por outro programa";
        case EISDIR: return "O caminho é uma pasta";
        case ENOTDIR: return "Caminho inválido";
        case ENOSPC: return "Sem espaço no disco";
        case EROFS: return "Sistema de arquivos somente para leitura";
        case EIO: return "Erro de entrada e saída no dispositivo";
        case ENXIO:
        case ENODEV: return "Dispositivo não conectado";
        case ENOTTY: return "O caminho não é uma porta serial";
        case ECONNREFUSED: return "Conexão recusada";
        case ETIMEDOUT: return "Tempo esgotado";
        case EHOSTUNREACH: return "Destino inacessível";
        case ENETUNREACH: return "Rede inacessível";
        case ECONNRESET:
        case EPIPE: return "Conexão encerrada pelo destino";
        case EAGAIN: return "Dispositivo não aceitou os dados a tempo";
        case EINVAL: return "Parâmetro inválido para o dispositivo";
        default: {
            char buf[256];
            const char* t = strerror_r(erro, buf, sizeof buf);
            return "Erro do sistema " + std::to_string(erro) + " (" + t + ")";
        }
    }
}

std::string CodigoErroHex(int erro) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%08X", static_cast<unsigned>(erro));
    return buf;
}
