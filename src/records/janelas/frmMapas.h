#pragma once

#include "platform/gui/FocoJanela.h"
#include "records/LogicaMapas.h"

#include <QDialog>
#include <array>

class Estacao;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStatusBar;

// The statistics window: the period, the kind of document and the party of
// the statistic that the login state's `TituloMapa` names, previewed or
// printed. Shown modal by the main window; closed by "&Sair", Esc in a date
// box or the close box. Enter and Esc do only what each control says: the
// dialog's own defaults are switched off.
class frmMapas : public QDialog
{
    Q_OBJECT

public:
    explicit frmMapas(Estacao& estacao, QWidget* pai = nullptr);

    const LogicaMapas& logica() const { return m_logica; }

protected:
    bool eventFilter(QObject* objecto, QEvent* evento) override;

private:
    void construir();
    // What the operator typed, into the logic; the logic's state, onto the widgets.
    void lerControlos();
    void mostrar();
    void preencherLista();
    void aplicarFoco();
    void seguinte(bool esperado, bool paraTras = false);
    bool teclaData(int i, QKeyEvent* evento);
    bool teclaIdentificacao(QKeyEvent* evento);
    void ganharFoco(QWidget* w);
    void perderFoco(QWidget* w);

    LogicaMapas m_logica;
    Estacao& m_estacao;
    QButtonGroup* m_opcoes = nullptr;
    std::array<QRadioButton*, 4> m_opt{};
    std::array<QLineEdit*, 6> m_txt{};
    QLabel* m_lblIdent = nullptr;
    QComboBox* m_identificacao = nullptr;
    std::array<QCheckBox*, 2> m_chk{};
    std::array<QPushButton*, 3> m_cmd{};
    QStatusBar* m_stb = nullptr;
    FocoJanela m_foco;
};
