#pragma once

#include "screen/ServicosEcra.h"

#include <QPointer>
#include <QProcess>
#include <QStringList>

class DestinoEscolha;
class Estacao;
class PedidoAcesso;
class QWidget;

// The windows and programs the main window opens from its menus: the login
// through its request, the other windows modal over the main window (each
// returns when its window closes; frmAnularPsg shows its window without
// waiting), the calculator and the help.
class JanelasPrincipal : public JanelasEcra
{
public:
    JanelasPrincipal(Estacao& estacao, DestinoEscolha& destino, QWidget* janelaPrincipal);
    ~JanelasPrincipal() override;

    void definirPedidoAcesso(PedidoAcesso* pedido) { m_acesso = pedido; }

    // The calculators tried in turn, the first one installed is started.
    QStringList calculadoras = {QStringLiteral("gnome-calculator"), QStringLiteral("mate-calc"),
                                QStringLiteral("galculator"), QStringLiteral("kcalc"), QStringLiteral("xcalc")};
    // The help topics: a page in the program's folder.
    QString ficheiroAjuda = QStringLiteral("ajuda.html");

    void frmAcesso(bool modal) override;
    void frmTabelas() override;
    void frmMapas() override;
    void frmSegVia() override;
    void frmAnularPsg() override;
    void frmRelogio() override;
    void frmAltCod() override;
    void frmPar() override;
    void frmAcerca() override;
    void frmMenu() override;
    void Calculadora() override;
    void Ajuda() override;

private:
    Estacao& m_estacao;
    DestinoEscolha& m_destino;
    QPointer<QWidget> m_janela;
    PedidoAcesso* m_acesso = nullptr;
    QProcess m_calculadora;
    QPointer<QWidget> m_anularPsg;  // the cancellation window while it is open
};
