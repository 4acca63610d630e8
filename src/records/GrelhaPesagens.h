#pragma once

#include "records/ModeloGrelhaPesagens.h"

#include <QString>
#include <array>

class Estacao;
class EcraGravacao;

// The recent-weighings grid of the main window, without its widgets: the
// filter options optTP 0 to 5 ("Guias", "Entradas", "Talões", "1as.Pesagens",
// "Anuladas", "Tudo"), the rows above UltimaPesagem - 100 newest first, the
// header click that sorts a column (descending first, then in turn), the
// double click that previews a row's document, and the screen's start-over.
// The main window shows modelo() in its QTableView dbg and passes the
// clicks in.
class GrelhaPesagens
{
public:
    GrelhaPesagens(Estacao& estacao, EcraGravacao& ecra);

    ModeloGrelhaPesagens& modelo() { return m_modelo; }

    // The filter option selected ("Guias" at start).
    int optTP() const { return m_optTP; }

    // Start over: "&Apagar primeira pesagem" disabled, the vehicle code and
    // plate emptied, the screen cleared, the grid read again. Reports nothing
    // itself: a failure throws Erro to the caller.
    void RefrescarLista();

    // A filter option clicked: that option selected and the grid read again;
    // the screen is not touched. A failure shows the database error box.
    void optTP_Click(int Index);

    // A click on the header of column ColIndex: sorts by it, descending on
    // the first click of a column and then in turn.
    void dbg_HeadClick(int ColIndex);

    // A double click on row `linha` (-1: none): previews its document in a
    // maximised window titled "Segunda via". Any failure is passed over.
    void dbg_DblClick(int linha);

    // Re-sorts the grid by OrdemGrelha ("[field]" or "[field] desc"); nothing
    // when it is empty. A failure shows "Erro:" with the number and keeps the rows.
    void OrdenarColuna();

    // The sort text handed to OrdenarColuna, empty between clicks.
    QString OrdemGrelha;
    // Per column: the next click sorts ascending. All false at start; a
    // re-read of the grid keeps them.
    std::array<bool, 31> OrdemAscendente{};

private:
    // Reads the grid's rows for the selected option, by the field of `coluna`
    // (0: newest first), rows of equal value newest first.
    void lerGrelha(int coluna = 0, bool descendente = true);

    Estacao& m_estacao;
    EcraGravacao& m_ecra;
    ModeloGrelhaPesagens m_modelo;
    int m_optTP = 0;
};
