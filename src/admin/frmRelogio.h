#pragma once

#include "admin/LogicaRelogio.h"
#include "platform/gui/FocoOperador.h"
#include "platform/gui/RealceFoco.h"

#include <QDialog>
#include <QTimer>
#include <array>

class Estacao;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The date and time dialog: a thin view over LogicaRelogio. It copies the
// logic's state to its widgets and passes the operator's keys, edits, focus
// moves and button presses in. Enter never presses a button here: a default
// button would set the computer's clock by accident.
class frmRelogio : public QDialog
{
    Q_OBJECT

public:
    explicit frmRelogio(Estacao& estacao, QWidget* parent = nullptr);

    LogicaRelogio& logica() { return m_logica; }

protected:
    bool eventFilter(QObject* objecto, QEvent* evento) override;

private:
    void cmd_Click(int i);
    void mostrarEstado();
    LogicaRelogio::Controlo controloDe(const QObject* objecto) const;
    QWidget* widgetDe(LogicaRelogio::Controlo c) const;

    LogicaRelogio m_logica;
    std::array<QGroupBox*, 2> m_fra{};
    std::array<QLineEdit*, 2> m_txt{};
    std::array<QPushButton*, 2> m_cmd{};
    QLabel* m_painel = nullptr;
    QTimer m_timer;
    Realce m_realce;
    VigiaFoco m_vigia;
};
