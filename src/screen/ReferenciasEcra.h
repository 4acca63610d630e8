#pragma once

class EcraPesagem;
struct MembroReferencia;

// The parties' codes of the details panel (customer, carrier, product,
// loading and unloading place): their look-up, and their quick creation and
// renaming by a level-3 or level-4 operator.
class ReferenciasEcra
{
public:
    explicit ReferenciasEcra(EcraPesagem& ecra) : m_ecra(ecra) {}

    void ConsultarEntidade();
    void GravarEntidade();
    void ConsultarTransportador();
    void GravarTransportador();
    void ConsultarProduto();
    void GravarProduto();
    void ConsultarLocalCarga();
    void GravarLocalCarga();
    void ConsultarLocalDescarga();
    void GravarLocalDescarga();

private:
    void consultarCodigo(const MembroReferencia& m);
    void gravarCodigo(const MembroReferencia& m);

    EcraPesagem& m_ecra;
};
