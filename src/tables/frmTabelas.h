#pragma once

#include "tables/JanelaGrelha.h"
#include "tables/LogicaTabelas.h"

#include <memory>

class Estacao;

// The reference-table editor: the table named by TituloTabela in a grid,
// with Novo, Apagar, Ordenar, Procurar, Visualizar, Imprimir and Sair. Opened
// modal; each opening starts afresh.
class frmTabelas : public JanelaGrelha
{
    Q_OBJECT

public:
    frmTabelas(Estacao& estacao, const EntradaTabela& entrada, QWidget* pai = nullptr);

    LogicaTabelas& logica() { return *m_logica; }

    // Opens the editor of the station's TituloTabela modal; a title outside
    // the catalogue, or a table that cannot be read, opens nothing.
    static void Abrir(Estacao& estacao, QWidget* pai);

protected:
    void clicar(int Index) override;
    void actualizar() override;
    void resizeEvent(QResizeEvent* evento) override;

private:
    void FormatarColunas();

    std::unique_ptr<LogicaTabelas> m_logica;
};
