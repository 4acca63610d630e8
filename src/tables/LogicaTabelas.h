#pragma once

#include "tables/CatalogoTabelas.h"
#include "tables/GrelhaTabela.h"

#include <QObject>

class Estacao;

// The table editor without its widgets: the table chosen by its title, the
// grid over it and what its buttons and header clicks do.
class LogicaTabelas
{
public:
    // `entrada` is the catalogue's entry of the title.
    LogicaTabelas(Estacao& estacao, const EntradaTabela& entrada);

    // Reads the rows; false when the table cannot be read (the box was shown).
    bool Form_Load();

    // The buttons 0 to 6 (Novo, Apagar, Ordenar, Procurar, Visualizar,
    // Imprimir, Sair); true when the window is to close.
    bool cmd_Click(int Index);
    // A header click: the rows sorted by that column in the direction in force.
    void dbg_HeadClick(int coluna) { m_grelha.OrdenarColuna(coluna); }

    // The caption of the current column, as panel 1 shows it.
    QString legendaActual() const;

    const EntradaTabela& entrada() const { return m_entrada; }
    GrelhaTabela& grelha() { return m_grelha; }

private:
    // How a listing that failed once made in its own thread is told.
    void listagemFalhou(int estado, const Erro& falha);

    Estacao& m_estacao;
    const EntradaTabela& m_entrada;
    GrelhaTabela m_grelha;
    // Lives as long as the window: a listing that fails after it closed tells no one.
    QObject m_vida;
};
