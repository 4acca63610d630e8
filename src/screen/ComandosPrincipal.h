#pragma once

#include <QTimer>
#include <array>
#include <functional>

class EcraPesagem;
class JanelasEcra;

// The main window's commands around its weighing screen: the load (ports,
// timers, grid), the activation by access level, the close, the menus, the
// manual-weighing buttons and the plate-format check box. It owns the two
// bridges' cycle timers.
class ComandosPrincipal
{
public:
    explicit ComandosPrincipal(EcraPesagem& ecra);

    void Form_Load();
    void Form_Activate();
    // True when the close is refused.
    bool Form_Unload();
    // The "&Opções" menu pops up on a right click of the window's background.
    bool MostraOpcoesAoClicar() const;
    void mnuPrg_Click(int Index);
    void mnuTab_Click(int Index);
    void mnuEst_Click(int Index);
    void mnuOpc_Click(int Index);
    void mnuSis_Click(int Index);
    void mnuAjuda_Click(int Index);
    void cmpPM_Click(int Index);
    void chkVtN_Click(bool marcado);

    // Runs one tick of a bridge's cycle.
    void tmr_Timer(int Index);
    bool temporizadorActivo(int Index) const;
    int intervaloTemporizador(int Index) const;
    // Stops the timers and the ports and ends the program.
    void Terminar();
    // The bridge timers stopped and the ports closed, as the station ends.
    void PararDispositivos();

private:
    void passoCarga(const std::function<void()>& f);
    void aplicarMenusDoNivel(int nivel);
    void pedirAcesso(bool modal);
    void abrirModal(void (JanelasEcra::*janela)());
    void imprimirUltimoDocumento();
    void apagarPrimeiraPesagem();

    EcraPesagem& m_ecra;
    std::array<QTimer, 2> m_tmr;
};
