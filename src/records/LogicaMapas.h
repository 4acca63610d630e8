#pragma once

#include "platform/Relatorio.h"
#include "records/Estatisticas.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <array>

class Estacao;

// The statistics window frmMapas without its widgets: the statistic its
// title names, the period boxes, the kind option, the list of parties found,
// the check boxes, what is shown and where the focus goes, and the report
// run. The view copies what the operator typed in before each call and shows
// the state after it.
class LogicaMapas
{
public:
    explicit LogicaMapas(Estacao& estacao);

    // Where the focus goes after the list was filled.
    enum class Foco { Nenhum, Identificacao, Visualizar, Sair };

    // ----- State
    const Estatisticas::Estatistica* estatistica = nullptr;  // nullptr for a title of no statistic
    QString Caption;
    std::array<bool, 4> optVisivel = {true, true, false, false};
    Estatisticas::Caixas txt;
    int opcao = -1;                     // the type option selected; -1 none
    bool identificacaoVisivel = false;  // the label and the list
    bool chkVisivel = false;
    bool cmdVisivel = false;  // "&Visualizar" and "&Imprimir"
    int larguraTwips = 5000;
    QStringList lista;      // the list's entries
    QString identificacao;  // the list's text
    std::array<bool, 2> chk = {false, false};
    Foco foco = Foco::Nenhum;

    // ----- Routines
    void Form_Load();

    // Enter in date box i: false when its value is 0 or less and nothing happens.
    // In the end year box it fills the list; in the others the view moves on.
    bool txt_Enter(int i);
    // Leaving box i: days and months at least two digits, years four.
    void txt_LostFocus(int i);
    // A character typed into the list, as it goes in.
    QString Identificacao_Caracter(const QString& texto) const;
    // Enter in the list: true when the focus moves on; otherwise a beep.
    bool Identificacao_Enter();
    // A click that left check box i so.
    void chk_Click(int i);

    void PreencherIdentificacao();
    QString ConstruirFormula() const;
    // 0 "&Visualizar", 1 "&Imprimir"; "&Sair" (2) is the view's.
    void cmd_Click(int Index);

    // The last request handed to the printer.
    const PedidoRelatorio& pedido() const { return m_pedido; }

    // The number of the message shown for a date that does not exist.
    static constexpr int ErroDataInvalida = 13;

private:
    void mostrarErro(const Erro& erro);

    Estacao& m_estacao;
    PedidoRelatorio m_pedido;
    // Lives as long as the window: a report that fails after it closed tells no one.
    QObject m_vida;
};
