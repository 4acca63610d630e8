#pragma once

#include "admin/JanelaPrincipal.h"
#include "screen/AplicarVista.h"
#include "screen/Controlo.h"
#include "screen/EcraPesagem.h"

#include <QHash>
#include <QMainWindow>
#include <array>
#include <memory>

class CampoEntrada;
class Estacao;
class JanelasPrincipal;
class LigacoesDispositivos;
class MontagemPrincipal;
class PedidoAcesso;
class QAction;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QRadioButton;
class QTableView;

// The main window: the weighing screen with its menus, the two bridge panels,
// the grid of recent weighings and the status bar. A thin view over
// EcraPesagem: it copies the screen's state into its widgets (each property
// only when it differs) and passes the operator's keys, clicks and focus moves
// in. Every widget is named after its control and index ("txt0", "cmdB1",
// "mnuOpc6"). Made hidden; the login shows it.
class frmPrincipal : public QMainWindow, public JanelaPrincipal
{
    Q_OBJECT

public:
    // With `io`, the bridges' device link, the saves and the grid work over
    // those ports; without, the screen runs on its own.
    explicit frmPrincipal(Estacao& estacao, LigacoesDispositivos* io = nullptr, QWidget* pai = nullptr);
    ~frmPrincipal() override;

    EcraPesagem& logica() { return m_logica; }
    MontagemPrincipal* montagem() { return m_montagem.get(); }
    JanelasPrincipal& janelas() { return *m_janelas; }

    // The login to ask for when the screen needs one.
    void definirPedidoAcesso(PedidoAcesso* pedido);

    // The window's load (ports, timers, grid), once, while it is hidden.
    void Form_Load();

    // Shows the screen's state now.
    void sincronizar();

    // JanelaPrincipal
    void Mostrar(bool modal) override;
    void Form_Activate() override;
    bool Visivel() const override;

    CampoEntrada* txt(int indice) const { return m_txt.at(std::size_t(indice)); }
    QAction* accao(const QString& nome) const { return m_accoes.value(nome); }

protected:
    bool eventFilter(QObject* objecto, QEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;
    void resizeEvent(QResizeEvent* evento) override;

private:
    void construir();
    QWidget* construirCabecalho();
    QWidget* construirViatura();
    QWidget* construirDetalhes();
    QWidget* construirPesagem();
    QWidget* construirBascula(int i);
    QWidget* construirGrelha();
    void construirMenus();
    void construirEstado();
    void ligarDispositivos();
    void vigiarFoco();

    void informarSeleccao(int indice);
    bool teclaCampo(int indice, QKeyEvent* e);
    bool teclaOpcao(int indice, QKeyEvent* e);
    Controlo controloDe(QObject* objecto) const;
    QWidget* widgetDe(Controlo c) const;
    void agendarSincronizacao();
    void sincronizarCampos();
    void sincronizarPaineis();
    void sincronizarMenus();
    void colocarListaRapida();

    EcraPesagem m_logica;
    std::unique_ptr<MontagemPrincipal> m_montagem;
    std::unique_ptr<JanelasPrincipal> m_janelas;
    bool m_aSincronizar = false;
    bool m_sincronizacaoAgendada = false;

    std::array<CampoEntrada*, CamposEntrada::Numero> m_txt{};
    QLabel* lblPeso = nullptr;
    QLabel* lblHor = nullptr;
    QLabel* lblDat = nullptr;
    QCheckBox* chkVtN = nullptr;
    std::array<QPushButton*, 2> cmpPM{};
    QLabel* lblPM = nullptr;
    QListWidget* lst = nullptr;
    QWidget* picFix1 = nullptr;
    QWidget* picQ = nullptr;
    QGroupBox* fraP = nullptr;
    QWidget* picP = nullptr;
    QWidget* picPSegunda = nullptr;
    QLabel* lblB1 = nullptr;
    QLabel* lblB2 = nullptr;
    QLabel* lblLiq = nullptr;
    std::array<QRadioButton*, 3> opt{};
    QButtonGroup* grupoOpt = nullptr;
    std::array<QPushButton*, 2> cmdB{};
    std::array<QRadioButton*, 6> optTP{};
    QTableView* dbg = nullptr;
    std::array<QLabel*, 3> stb{};
    QMenu* mnuOpcoes = nullptr;
    QHash<QString, QAction*> m_accoes;
    WidgetsDispositivos m_widgetsDispositivos;
};
