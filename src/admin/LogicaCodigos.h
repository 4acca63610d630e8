#pragma once

#include "tables/GrelhaTabela.h"

class Estacao;

// The operators table without its widgets: every operator in the grid, with
// Novo, Apagar, Ordenar and Procurar. A confirmed row gets the date and time
// of its save. The last level-4 operator can be neither deleted nor given
// another level, so a supervisor can always log in.
class LogicaCodigos
{
public:
    explicit LogicaCodigos(Estacao& estacao);

    static QString titulo() { return QStringLiteral("Códigos de acesso"); }
    static QString mensagemUltimoSuperior();

    // Reads the operators; false when the table cannot be read (the box was shown).
    bool Form_Load();

    // The buttons 0 to 4 (Novo, Apagar, Ordenar, Procurar, Sair); true when
    // the window is to close.
    bool cmd_Click(int Index);
    void dbg_HeadClick(int coluna) { m_grelha.OrdenarColuna(coluna); }

    GrelhaTabela& grelha() { return m_grelha; }

private:
    // Whether an operator other than the current row has level 4.
    bool outroSuperior() const;

    Estacao& m_estacao;
    GrelhaTabela m_grelha;
};
