#pragma once

#include "platform/gui/FocoJanela.h"

#include <QDialog>
#include <QList>
#include <QStyle>

class GrelhaTabela;
class QLabel;
class QPushButton;
class QStatusBar;
class ServicoMensagens;
class VistaGrelha;

// The window of an editable grid: the grid, a row of buttons under it and a
// two-panel status bar (the hint, the position); button 2 is the sort
// order's. The grid and the buttons turn yellow while they have the focus, a
// button with its hint in panel 1; panel 1 shows the current column's caption
// whenever the current cell moves. It ends only by its Sair button or the
// close box (Esc undoes a cell being edited and nothing else); a changed row
// is settled ("Gravar ?") before the window closes, and a refused write keeps
// it open.
class JanelaGrelha : public QDialog
{
    Q_OBJECT

public:
    struct Botao
    {
        QString texto;
        QString dica;
        QStyle::StandardPixmap imagem;
    };

    explicit JanelaGrelha(QWidget* pai);

    VistaGrelha* dbg() const { return m_dbg; }
    QPushButton* cmd(int i) const { return m_cmd.at(i); }

    void reject() override;

protected:
    // Builds the grid, the buttons and the status bar, once the grid exists.
    void montar(GrelhaTabela& grelha, ServicoMensagens& mensagens, const QList<Botao>& botoes);
    // A button was pressed (an open cell editor committed first).
    virtual void clicar(int Index) = 0;
    // The window gives the grid the focus.
    void focarGrelha();
    // The colour the grid takes back when it loses the focus, where it is not the window colour.
    void corSemFoco(const QColor& cor);
    // The position, the buttons' states and panel 1 brought up to date.
    virtual void actualizar();

    GrelhaTabela* m_grelha = nullptr;
    QLabel* m_stb1 = nullptr;
    QLabel* m_stb2 = nullptr;

private:
    bool podeFechar();

    VistaGrelha* m_dbg = nullptr;
    QList<QPushButton*> m_cmd;
    FocoJanela m_foco;
};
