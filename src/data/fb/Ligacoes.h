#pragma once
// Back-pointers between the client's handles without hand-kept sets: an owner
// (a database, a transaction) holds a TRegistro of the objects that lean on it,
// and each of those holds a TLigacao to the owner. The link joins the registry
// when made and leaves it when destroyed; when the owner goes first, its
// registry cuts every link, which then reads as null. Either may be destroyed
// first, in any order, and no pointer is left dangling.
#include <algorithm>
#include <vector>

namespace fb {

template <class Dono, class Membro>
class TRegistro;

template <class Dono, class Membro>
class TLigacao {
public:
    explicit TLigacao(Membro& membro) : membro_(membro) {}
    ~TLigacao() { Soltar(); }
    TLigacao(const TLigacao&) = delete;
    TLigacao& operator=(const TLigacao&) = delete;

    void Ligar(Dono& dono, TRegistro<Dono, Membro>& registro) {
        Soltar();
        dono_ = &dono;
        registro_ = &registro;
        registro.ligacoes_.push_back(this);
    }
    void Soltar() {
        if (!registro_) return;
        auto& l = registro_->ligacoes_;
        // the newest leave first (a statement made and dropped in a loop): search from the back
        auto it = std::find(l.rbegin(), l.rend(), this);
        if (it != l.rend()) l.erase(std::next(it).base());
        dono_ = nullptr;
        registro_ = nullptr;
    }

    Dono* get() const { return dono_; }
    Dono* operator->() const { return dono_; }
    explicit operator bool() const { return dono_ != nullptr; }

private:
    friend class TRegistro<Dono, Membro>;
    Membro& membro_;
    Dono* dono_ = nullptr;
    TRegistro<Dono, Membro>* registro_ = nullptr;
};

template <class Dono, class Membro>
class TRegistro {
public:
    TRegistro() = default;
    ~TRegistro() {
        for (auto* l : ligacoes_) l->dono_ = nullptr, l->registro_ = nullptr;
    }
    TRegistro(const TRegistro&) = delete;
    TRegistro& operator=(const TRegistro&) = delete;

    // Calls f on every member, in the order they joined. f must not make or
    // destroy links of this registry.
    template <class F>
    void ParaCada(F&& f) const {
        for (auto* l : ligacoes_) f(l->membro_);
    }
    size_t Quantos() const { return ligacoes_.size(); }

private:
    friend class TLigacao<Dono, Membro>;
    std::vector<TLigacao<Dono, Membro>*> ligacoes_;
};

}  // namespace fb
