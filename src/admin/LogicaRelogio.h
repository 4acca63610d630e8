#pragma once

#include <QDateTime>
#include <QString>
#include <array>
#include <optional>
#include <utility>

class Estacao;

// The date and time dialog's state and routines, apart from its widgets: the
// live clock in the two frame captions, the date and time boxes with their
// separators, key rules and checks on leaving, the focus with its hint, and
// "&Acertar", which asks the system to set its clock. Nothing is stored.
class LogicaRelogio
{
public:
    enum class Controlo { Nenhum, txt0, txt1, cmd0, cmd1 };

    // What the window does with a key pressed in a box.
    enum class Tecla {
        Passa,     // typed or handled as usual
        Recusada,  // dropped (after a beep)
        Anterior,  // focus to the previous control
        Seguinte,  // focus to the next control
        Fechar     // the dialog closes, nothing set
    };

    static const QString TituloJanela;     // "Acerto de Data e Hora"
    static const QString TituloMensagens;  // "Acerto de data e hora"
    static constexpr int MaximoData = 10;
    static constexpr int MaximoHora = 5;

    explicit LogicaRelogio(Estacao& estacao);

    // Opening: frames and boxes from the clock; the focus in the date box.
    void Form_Load();
    // Every second: the frame captions follow the clock; the boxes never do.
    void Timer1_Timer();

    // The operator changed box i's text: the first separator comes by itself
    // (the view puts the caret after it).
    void txt_Change(int i, const QString& texto);
    // A key in box i: its key-down code (Tecla::Cima...) and the character it
    // types (0 for none), as the windows' key translation gives them.
    Tecla txt_Tecla(int i, int KeyCode, int KeyAscii);

    // A focus move by the operator. Leaving a box checks it; a bad entry
    // brings the focus back to it, which the view then follows.
    void mudarFoco(Controlo c);

    // A button pressed. True when the dialog closes. A press that follows a
    // refused entry (the focus went back to its box) does nothing.
    bool cmd_Click(int i);

    // The routine behind the bad-entry box: beep, message, box i reset to
    // the clock, selected and focused.
    void MostrarErro(const QString& texto, int i);

    static QString dica(Controlo c);

    // The date read strictly as dd-MM-yyyy and the time as HH:mm; nothing
    // when no such day or time exists.
    static std::optional<QDate> lerData(const QString& texto);
    static std::optional<QTime> lerHora(const QString& texto);

    const QString& fra(int i) const { return m_fra.at(std::size_t(i)); }
    const QString& txt(int i) const { return m_txt.at(std::size_t(i)); }
    Controlo foco() const { return m_foco; }
    QString painel() const { return m_painel; }
    // Reading it clears it: select the focused box's whole text.
    bool tomarSeleccionar() { return std::exchange(m_seleccionar, false); }

private:
    void txt_GotFocus(Controlo c);
    void txt_LostFocus(int i);
    bool acertar();
    QString dataAgora() const;
    QString horaAgora() const;

    Estacao& m_estacao;
    std::array<QString, 2> m_fra;
    std::array<QString, 2> m_txt;
    Controlo m_foco = Controlo::Nenhum;
    QString m_painel;
    bool m_seleccionar = false;
};
