#pragma once

#include "admin/LogicaAcesso.h"
#include "admin/PedidoAcesso.h"
#include "platform/gui/FocoOperador.h"
#include "platform/gui/RealceFoco.h"

#include <QDialog>

class Estacao;
class JanelaPrincipal;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The login window: a thin view over LogicaAcesso. It copies the logic's
// state to its widgets and passes the operator's keys, picks and focus moves
// in. A successful login hides it and hands over to the main window from the
// event loop; its close box, while the main window is hidden, ends the program.
class frmAcesso : public QDialog, public PedidoAcesso
{
    Q_OBJECT

public:
    explicit frmAcesso(Estacao& estacao, QWidget* parent = nullptr);

    // The main window it hands over to (set once both exist).
    void definirJanelaPrincipal(JanelaPrincipal* janela) { m_principal = janela; }

    void MostrarAcesso(bool modal) override;

    QComboBox* cmb() const { return m_cmb; }
    QLineEdit* txt() const { return m_txt; }
    QPushButton* cmd() const { return m_cmd; }
    QLabel* painel() const { return m_painel; }

protected:
    bool eventFilter(QObject* objecto, QEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;

private:
    void cmd_Click();
    void mostrarEstado();
    LogicaAcesso::Controlo controloDe(QObject* objecto) const;
    QWidget* widgetDe(LogicaAcesso::Controlo c) const;

    Estacao& m_estacao;
    LogicaAcesso m_logica;
    JanelaPrincipal* m_principal = nullptr;

    QComboBox* m_cmb;
    QLineEdit* m_txt;
    QPushButton* m_cmd;
    QLabel* m_painel;
    Realce m_realce;
    VigiaFoco m_vigia;
};
