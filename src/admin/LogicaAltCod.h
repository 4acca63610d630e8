#pragma once

#include <QString>
#include <QtGlobal>
#include <array>
#include <utility>

class Estacao;

// The change of access code's state and routines, apart from its widgets:
// the logged-in operator's current code, the new code typed twice, the
// supervisor word that opens the operators table, the focus with its hint,
// and the save of the operator's row.
class LogicaAltCod
{
public:
    enum class Controlo { Nenhum, txt0, txt1, txt2, cmd0, cmd1, cmd2 };

    // What the window does after a button.
    enum class Desfecho {
        Fica,   // the dialog stays open
        Fecha,  // the dialog closes
        Tabela  // the operators table is shown modal; this dialog stays open
    };

    static const QString TituloJanela;       // "Alterar código de acesso"
    static const QString PalavraSupervisor;  // "quindo"
    static constexpr int MaximoCodigo = 8;

    explicit LogicaAltCod(Estacao& estacao);

    // Opening: the operator's name, an empty current code, "&Tabela" and
    // "&Gravar" hidden, the focus in the current-code box.
    void Form_Load();

    void txt_Change(int i, const QString& texto);
    // Enter in code box i: always swallowed; acts when the box holds a character.
    void txt_Enter(int i);
    // A focus move by the operator.
    void mudarFoco(Controlo c);
    Desfecho cmd_Click(int i);

    static QString dica(Controlo c);

    const QString& operador() const { return m_operador; }
    const QString& txt(int i) const { return m_txt.at(std::size_t(i)); }
    // Box i (with its label) shown; box 0 always is.
    bool txtVisivel(int i) const { return i == 0 || m_txtVisivel.at(std::size_t(i)); }
    bool cmdVisivel(int i) const { return i == 0 || m_cmdVisivel.at(std::size_t(i)); }
    Controlo foco() const { return m_foco; }
    const QString& painel() const { return m_painel; }
    // Reading it clears it: select the focused box's whole text.
    bool tomarSeleccionar() { return std::exchange(m_seleccionar, false); }

private:
    void GotFocus(Controlo c);
    void verificarCodigo();
    void confirmar();
    bool confirmacaoFalhada();
    Desfecho gravar();

    Estacao& m_estacao;
    QString m_operador;
    std::array<QString, 3> m_txt;
    std::array<bool, 3> m_txtVisivel{};
    std::array<bool, 3> m_cmdVisivel{};
    Controlo m_foco = Controlo::Nenhum;
    QString m_painel;
    bool m_seleccionar = false;
    qint64 m_chave = 0;  // the row whose code the operator proved; 0 before
};
