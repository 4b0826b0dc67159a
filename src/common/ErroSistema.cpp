#include "common/ErroSistema.h"

#include <netdb.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <new>
#include <stdexcept>
#include <system_error>

#include "common/Excecoes.h"

std::string MensagemErroSistema(int erro) {
    switch (erro) {
        case 0: return "Erro desconhecido do sistema";
        case ENOENT: return "Arquivo ou dispositivo não encontrado";
        case EACCES:
        case EPERM: return "Acesso negado";
        case EBUSY: return "Dispositivo ocupado por outro programa";
        case ETXTBSY: return "Arquivo em uso por outro programa";
        case EISDIR: return "O caminho é uma pasta";
        case ENOTDIR: return "Caminho inválido";
        case ENAMETOOLONG: return "Nome de arquivo muito longo";
        case ELOOP: return "Atalhos (links simbólicos) em excesso no caminho";
        case EEXIST: return "O arquivo já existe";
        case ENOSPC: return "Sem espaço no disco";
        case EDQUOT: return "Cota de disco excedida";
        case EFBIG: return "Arquivo grande demais";
        case EROFS: return "Sistema de arquivos somente para leitura";
        case EXDEV: return "Origem e destino em discos diferentes";
        case EMFILE:
        case ENFILE: return "Arquivos abertos em excesso";
        case ENOMEM: return "Memória insuficiente";
        case EIO: return "Erro de entrada e saída no dispositivo";
        case ENXIO:
        case ENODEV: return "Dispositivo não conectado";
        case ENOTTY: return "O caminho não é uma porta serial";
        case ECONNREFUSED: return "Conexão recusada";
        case ETIMEDOUT: return "Tempo esgotado";
        case EHOSTUNREACH: return "Destino inacessível";
        case EHOSTDOWN: return "Destino desligado";
        case ENETUNREACH: return "Rede inacessível";
        case ENETDOWN: return "Rede desligada";
        case EADDRNOTAVAIL: return "Endereço indisponível nesta estação";
        case ECONNRESET:
        case ECONNABORTED:
        case EPIPE: return "Conexão encerrada pelo destino";
        case ENOTCONN: return "Sem conexão";
        case EAGAIN: return "Dispositivo não aceitou os dados a tempo";
        case EINTR: return "Operação interrompida";
        case EINVAL: return "Parâmetro inválido para o dispositivo";
        case ENOTSUP: return "Operação não suportada";
        default: {
            // No English text of the C library: the number and its symbolic name suffice for support.
            const char* nome = strerrorname_np(erro);
            return "Erro do sistema " + std::to_string(erro) + (nome ? std::string(" (") + nome + ")" : std::string());
        }
    }
}

std::string MensagemErroEndereco(int erroGai) {
    switch (erroGai) {
        case EAI_NONAME:
        case EAI_NODATA: return "Endereço não encontrado";
        case EAI_AGAIN: return "Servidor de nomes não respondeu, tente novamente";
        case EAI_FAIL: return "Falha no servidor de nomes";
        case EAI_SERVICE: return "Número de porta inválido";
        case EAI_FAMILY:
        case EAI_ADDRFAMILY: return "Tipo de endereço não suportado";
        case EAI_MEMORY: return "Memória insuficiente";
        case EAI_SYSTEM: return MensagemErroSistema(errno);
        default: return "Erro " + std::to_string(erroGai) + " ao procurar o endereço";
    }
}

std::string MensagemDaFalha(const std::exception& falha) {
    if (dynamic_cast<const Exception*>(&falha)) return falha.what();
    if (dynamic_cast<const std::bad_alloc*>(&falha)) return "Memória insuficiente para concluir a operação";
    if (const auto* f = dynamic_cast<const std::filesystem::filesystem_error*>(&falha)) {
        std::string m = "Erro no arquivo";
        if (!f->path1().empty()) m += " " + f->path1().string();
        return m + ": " + MensagemErroSistema(f->code().value());
    }
    if (const auto* s = dynamic_cast<const std::system_error*>(&falha)) {
        if (s->code().category() == std::generic_category() || s->code().category() == std::system_category())
            return MensagemErroSistema(s->code().value());
    }
    if (dynamic_cast<const std::out_of_range*>(&falha) || dynamic_cast<const std::length_error*>(&falha))
        return "Valor fora da faixa permitida";
    return std::string("Erro interno do programa: ") + falha.what();
}

std::string CodigoErroHex(int erro) {
    char buf[16];
    (void)std::snprintf(buf, sizeof buf, "%08X", static_cast<unsigned>(erro));  // 8 digits: always fits
    return buf;
}
