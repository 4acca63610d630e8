#pragma once

#include <QString>
#include <QStringList>

class Estacao;

// The login window's state and routines, apart from its widgets: the
// operators list, the operator and code boxes, the hidden-until-typed
// "Verificar acesso" button, the focus with its colour and status-bar hint,
// and the verification against the table Operadores. The login state itself
// (NomeOperador, NivelAcesso, TentativasAcesso) lives in the station, so
// failed attempts add up across login windows.
class LogicaAcesso
{
public:
    enum class Controlo { Nenhum, cmb, txt, cmd };

    // What the window does after a verification.
    enum class Desfecho {
        Fica,               // a refusal: the login stays open
        PrincipalModal,     // level 1: close and show the main window modal
        PrincipalSemEspera  // level 2 or more: close and show the main window modeless
    };

    static const QString TituloJanela;       // "Zumarel"
    static const QString CabecalhoErro;      // the database error box's heading
    static const QString MensagemSemAcesso;  // "Sem acesso ao Zumarel"
    static const QString MensagemSemOperadores;
    static constexpr int MaximoCodigo = 8;
    static constexpr int SaidaSemOperadores = 1;  // exit status with no operator to log in

    explicit LogicaAcesso(Estacao& estacao);

    // Opening the window: level 0, the operators in table order, the last
    // operator proposed, code empty, button hidden, focus on the operator box.
    // With no operator at all it shows one message, asks to end the program
    // and returns false: the window must not open.
    bool Form_Load();

    void cmb_Click(const QString& nome);    // a name picked from the list
    void cmb_Change(const QString& texto);  // the operator box's text, typed
    void txt_Change(const QString& texto);  // the code box's text
    void cmb_Enter();                       // Enter in the operator box
    void txt_Enter();                       // Enter in the code box
    Desfecho cmd_Click();                   // "Verificar acesso"

    // A focus move by the operator (Tab, click, shortcut).
    void mudarFoco(Controlo c);

    // The window's title of a failed attempt: "2ª. tentativa de acesso".
    static QString tituloTentativa(int tentativa);
    static QString dica(Controlo c);

    const QStringList& operadores() const { return m_operadores; }
    const QString& operador() const { return m_operador; }
    const QString& codigo() const { return m_codigo; }
    bool botaoVisivel() const { return m_botaoVisivel; }
    Controlo foco() const { return m_foco; }         // the control that has the focus
    Controlo realce() const { return m_foco; }       // the control painted yellow: the focused one
    QString painel() const { return dica(m_foco); }  // status bar panel 1: the focused control's hint

    // Set when the code box took the focus: its whole text is to be selected.
    // Reading it clears it.
    bool tomarSeleccionarCodigo();

private:
    bool lerOperadores();
    void verificar();
    void recusar();

    Estacao& m_estacao;
    QStringList m_operadores;
    QString m_operador;
    QString m_codigo;
    bool m_botaoVisivel = false;
    Controlo m_foco = Controlo::Nenhum;
    bool m_seleccionarCodigo = false;
};
