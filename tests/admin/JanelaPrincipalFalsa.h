#pragma once

#include "admin/JanelaPrincipal.h"
#include "admin/PedidoAcesso.h"
#include "data/Estacao.h"

#include <QList>

// The main window as the login sees it: records each show and activation,
// and, like the real one, answers an activation with no valid level by hiding
// itself and asking for a login.
class JanelaPrincipalFalsa : public JanelaPrincipal
{
public:
    explicit JanelaPrincipalFalsa(Estacao& estacao) : m_estacao(estacao) {}

    PedidoAcesso* pedido = nullptr;
    bool carregada = false;  // its load ran
    bool visivel = false;
    QList<bool> mostrar;     // each show: modal or not
    int activacoes = 0;

    void Carregar() { carregada = true; }

    void Mostrar(bool modal) override
    {
        mostrar << modal;
        visivel = true;
    }

    void Form_Activate() override
    {
        ++activacoes;
        const int nivel = m_estacao.Acesso.NivelAcesso;
        if ((nivel < 1 || nivel > 4) && pedido) {
            visivel = false;
            pedido->MostrarAcesso(false);
        }
    }

    bool Visivel() const override { return visivel; }

private:
    Estacao& m_estacao;
};
