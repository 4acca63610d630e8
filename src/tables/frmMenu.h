#pragma once

#include "platform/gui/FocoJanela.h"

#include <QDialog>
#include <memory>

class DestinoEscolha;
class Estacao;
class ListaEscolha;
class ModeloListaEscolha;
class QButtonGroup;
class QLabel;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QTreeView;
class QWidget;

// The look-up list window: a modal pick-list of the reference table, or of the
// pending first weighings, that the login state's `TituloMenu` names.
//
// The weighing screen sets `TituloMenu`, sets the hourglass
// (mensagens.CursorOcupado(true)) and runs exec(). The window is filled when it
// is made and then puts the normal pointer back (CursorOcupado(false), once).
// A pick writes the code (and, for a pending first weighing, the plate) through
// the DestinoEscolha and closes with `TituloMenu` kept: exec() returns
// Accepted. Cancelar, Esc and the close box set `TituloMenu` to "" and close:
// exec() returns Rejected. Make a new window for each opening.
class frmMenu : public QDialog
{
    Q_OBJECT

public:
    frmMenu(Estacao& estacao, DestinoEscolha& destino, QWidget* pai = nullptr);
    ~frmMenu() override;

    const ListaEscolha& logica() const { return *m_logica; }

    // Esc anywhere, and the close box: cancel.
    void reject() override;

protected:
    bool eventFilter(QObject* objecto, QEvent* evento) override;

private:
    int twips(int valor) const;
    void construir();
    void construirColunas();
    void ligar();
    int linhaActual() const;
    // Shows the logic's state, then closes once a row was picked or the list cancelled.
    void aplicar();
    void sincronizar();

    std::unique_ptr<ListaEscolha> m_logica;
    ModeloListaEscolha* m_modelo = nullptr;
    bool m_aSincronizar = false;
    bool m_concluida = false;  // closed once, by a pick or a cancel

    QTreeView* lst = nullptr;
    QStatusBar* stb = nullptr;
    QLabel* stbPainel[2] = {};
    QWidget* pic[2] = {};
    QPushButton* cmd[3] = {};
    QRadioButton* opt[3] = {};
    QButtonGroup* grupoOpt = nullptr;
    FocoJanela m_foco;
};
