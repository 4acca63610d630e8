#pragma once

#include "admin/LogicaAltCod.h"
#include "platform/gui/FocoOperador.h"
#include "platform/gui/RealceFoco.h"

#include <QDialog>
#include <array>

class Estacao;
class QLabel;
class QLineEdit;
class QPushButton;

// The change of access code: a thin view over LogicaAltCod. "&Tabela" shows
// the operators table over the dialog.
class frmAltCod : public QDialog
{
    Q_OBJECT

public:
    explicit frmAltCod(Estacao& estacao, QWidget* parent = nullptr);

    LogicaAltCod& logica() { return m_logica; }

protected:
    bool eventFilter(QObject* objecto, QEvent* evento) override;

private:
    void cmd_Click(int i);
    void mostrarEstado();
    LogicaAltCod::Controlo controloDe(const QObject* objecto) const;
    QWidget* widgetDe(LogicaAltCod::Controlo c) const;

    Estacao& m_estacao;
    LogicaAltCod m_logica;
    QLabel* m_lblOperador = nullptr;
    std::array<QLabel*, 3> m_lbl{};
    std::array<QLineEdit*, 3> m_txt{};
    std::array<QPushButton*, 3> m_cmd{};
    QLabel* m_painel = nullptr;
    Realce m_realce;
    VigiaFoco m_vigia;
};
