#pragma once

#include "admin/LogicaCodigos.h"
#include "tables/JanelaGrelha.h"

#include <memory>

class Estacao;
class QListWidget;

// The operators table window "Códigos de acesso" (frmCódigos): fixed size,
// modal, over LogicaCodigos. A level cell's button drops the level legend
// under the cell; picking a line in it changes nothing.
class frmCodigos : public JanelaGrelha
{
    Q_OBJECT

public:
    explicit frmCodigos(Estacao& estacao, QWidget* pai = nullptr);

    LogicaCodigos& logica() { return *m_logica; }
    QListWidget* lst() const { return m_lst; }

    // Opens the window modal over `pai`, for the supervisor's "&Tabela".
    static void Abrir(Estacao& estacao, QWidget* pai);

    // Drops the legend under a cell of the grid.
    void dbg_ButtonClick(const QModelIndex& indice);

protected:
    void clicar(int Index) override;
    bool eventFilter(QObject* objecto, QEvent* evento) override;

private:
    std::unique_ptr<LogicaCodigos> m_logica;
    QListWidget* m_lst;
};
