#pragma once

#include "admin/PecasSerie.h"
#include "shared/Definicoes.h"

#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>

class Estacao;
class FicheiroPerfil;

// The parameters dialog's state and routines, apart from its widgets: the
// load of every control from the settings record and the company row 1, the
// controls' events (the division list, the file picker, the keys of the
// company fields, the address boxes and the copies lists) and the three
// buttons. The view writes the operator's edits into `c` and reads `c` back.
class LogicaParametros
{
public:
    static const QString Titulo;             // "Parâmetros internos"
    static const QString MensagemReiniciar;  // "É necessário reiniciar o Zumarel"
    static const QString CabecalhoErro;      // the database error box's heading
    static const QStringList Modelos;        // the indicator models
    static const QStringList Divisoes;       // "1" ... "50"
    static const QStringList Copias;         // "0" ... "4"
    static constexpr int PortasIndicador = 12;
    static constexpr int PortasLeitor = 8;
    static constexpr int CamposEmpresa = 12;
    static const std::array<QString, CamposEmpresa> CamposEtxt;      // the Empresas field of each Etxt box
    static const std::array<int, CamposEmpresa> TamanhosEtxt;        // at most this many characters
    static const std::array<QString, CamposEmpresa> CaracteresEtxt;  // empty: any character
    static const QString CaracteresIP;                               // "1234567890."

    // A serial line's lists: positions, -1 for no selection.
    struct Serie
    {
        int porta = -1;
        int handshaking = -1;
        PecasSerie::Seleccao pecas;
    };
    struct Leitor
    {
        bool ligado = false;
        Serie serie;
    };
    struct Bascula
    {
        bool ligada = false;
        int modelo = -1;
        int divisao = -1;
        QString minimo = QStringLiteral("0");  // lblMin
        bool ip = false;                       // optIP; optRS is its opposite
        QString endereco;                      // txtIP
        Serie serie;
        Leitor principal;
        Leitor secundario;
    };
    // What the dialog's controls hold.
    struct Controlos
    {
        std::array<QString, 3> txtG;
        std::array<bool, 3> chkG{};
        std::array<int, 5> cmbT{-1, -1, -1, -1, -1};
        std::array<QString, CamposEmpresa> Etxt;
        std::array<Bascula, 2> b;
    };

    // What the file picker is asked: title, proposed file, start folder, filter.
    struct PedidoFicheiro
    {
        QString titulo;
        QString ficheiro;
        QString pasta;
        QString filtro;
    };
    // The chosen file's full path; nothing when the operator cancelled.
    using EscolherFicheiro = std::function<std::optional<QString>(const PedidoFicheiro&)>;

    // What a key does.
    enum class Tecla {
        Passa,     // the control takes it
        Engolida,  // dropped
        Seguinte,  // dropped; the focus moves to the next control
        Reposta    // dropped; the box's text was put back (all of it selected, caret at the start)
    };

    // `fecharPortas` closes the main window's serial ports before the program ends.
    LogicaParametros(Estacao& estacao, EscolherFicheiro escolher, std::function<void()> fecharPortas);

    // Fills every control from the settings record and the company row 1.
    // Writes nothing.
    void Form_Load();

    Controlos c;

    // The port lists' entries: "COM3 — /dev/ttyS2", the device each number
    // stands for on this machine.
    QStringList entradasPortas(int quantas) const;

    // The operator picked an entry of a bridge's division list (c.b[i].divisao
    // already holds it): the division and minimum weight of the settings record
    // change at once.
    void cmbDiv_Click(int i);
    // The control the logic asked to take the focus, once; empty when none.
    QString tomarFocoPedido();

    void cmdG_Click(int k);

    void Etxt_GotFocus(int k);
    Tecla Etxt_KeyPress(int k, int KeyAscii);
    Tecla txtIP_KeyPress(int i, int KeyAscii);
    static Tecla cmbT_KeyPress(int KeyAscii);

    // "Cancelar" and the close box: the division and minimum weight of each
    // bridge go back to what they were when the dialog opened.
    void Cancelar();
    // "Valores por defeito": the settings record and file to the factory
    // values. False (after a message) when the file could not be written:
    // then nothing changed and the dialog stays open.
    bool ValoresPorDefeito();
    // "Gravar alterações": the settings file, then the company row, then the
    // ports closed, the restart message and the end of the program. False
    // (after a message) when a write failed: the program then goes on; after
    // a failed settings file with the record, the file and the company row as
    // they were.
    bool GravarParametros();

    // The 43 keys of the save, into the given file, in their order, in one
    // replacement of the file; false (and the file as it was) when refused.
    static bool EscreverChaves(FicheiroPerfil& ini, const Definicoes& d);

private:
    void carregarEmpresa();
    void carregarSerie(Serie& s, qint16 porta, int portas, qint16 handshaking, const QString& configuracao);
    void preencher(Definicoes& d) const;
    bool gravarEmpresa();

    Estacao& m_estacao;
    EscolherFicheiro m_escolher;
    std::function<void()> m_fecharPortas;
    QStringList m_portas;
    QString m_textoAnterior;
    QString m_focoPedido;
    std::optional<std::array<QString, CamposEmpresa>> m_empresa;  // row 1 as read; nothing when missing
    PorBascula<qint16> m_divisaoInicial{};
    PorBascula<qint16> m_minimaInicial{};
};
