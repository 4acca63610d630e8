#pragma once

#include "screen/CamposEntrada.h"
#include "screen/Controlo.h"
#include "shared/EstadoBascula.h"

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <array>
#include <functional>
#include <optional>
#include <utility>

class Estacao;
class DispositivosEcra;
class RegistosEcra;
class JanelasEcra;
struct MembroReferencia;

// One entry field as the screen holds it.
struct CampoTexto
{
    QString texto;
    bool activo = true;
    quint32 cor = Cor::Janela;
    int selInicio = 0;          // caret, or start of the selection
    int selComprimento = 0;
};

// One bridge button.
struct BotaoBascula
{
    QString legenda;
    quint32 cor = Cor::FaceBotao;
    bool activo = false;        // the bridge cycle and the weigh step enable it
};

// Everything the weighing screen shows, as plain data the window mirrors.
struct EstadoEcra
{
    std::array<CampoTexto, CamposEntrada::Numero> txt;
    QString lblB1, lblB2;               // origin of the first and of the second weight
    QString lblLiq = QStringLiteral("0");
    int opt = -1;                       // document kind: -1 none, 0 "&Entrada", 1 "&Guia", 2 "&Talão"
    std::array<quint32, 3> corOpt{Cor::FaceBotao, Cor::FaceBotao, Cor::FaceBotao};
    QString fraP;                       // the weighing frame's caption
    bool picQVisivel = false;           // details panel (fields 2 to 12)
    bool picPVisivel = false;           // weighing panel (fields 13 to 18)
    bool picPCompleto = true;           // the second weighing's rows shown too (height 2475, else 795)
    QStringList lst;                    // quick list of plates
    bool lstVisivel = false;
    std::array<BotaoBascula, 2> cmdB;
    std::array<QString, 3> stb;         // status-bar panels
    bool lblPMVisivel = false;
    QString lblPM = QStringLiteral("Pesagem Manual");
    bool chkVtN = false;
    QHash<QString, bool> menus;         // each menu item's own enabled flag, by control name ("mnuOpc6")
    bool mnuOpc4Marcado = false;        // "Pesagem &Manual" checked
    bool janelaVisivel = false;
    Controlo foco;                      // the control that has the focus
};

// The weighing screen of the main window `frmPrincipal`, apart from its
// widgets: the entry of a weighing field by field, the identification of the
// vehicle and of the weighing mode, the look-up and quick creation of
// reference codes, the bridge buttons and document-kind options, the menus by
// access level, and the window's load and activation. The routines keep the
// names the window's events and routines have; the window only mirrors the
// state and passes the operator's events in.
//
// The focus is the screen's own: a move runs the LostFocus routine of the
// control that had it and the GotFocus routine of the one that takes it,
// exactly once; moving it to the control that already has it does nothing.
class EcraPesagem : public QObject
{
    Q_OBJECT

public:
    explicit EcraPesagem(Estacao& estacao, QObject* parent = nullptr);
    ~EcraPesagem() override;

    void ligarDispositivos(DispositivosEcra* d) { m_dispositivos = d; }
    void ligarRegistos(RegistosEcra* r) { m_registos = r; }
    void ligarJanelas(JanelasEcra* j) { m_janelas = j; }

    Estacao& estacao() { return m_estacao; }
    const EstadoEcra& estado() const { return m_e; }

    // The device state of bridge 0 (B1) or 1 (B2): the device link's once it
    // is set, the screen's own before.
    EstadoBascula& Bascula(int Index);

    // ----- Variables of the window
    QString ModoPesagem;                // "", "PP", "SP", "PM" or "SM"
    int CampoActual = 0;                // the entry field that took the focus last
    quint32 CorAnterior = Cor::Janela;  // its colour before it turned yellow
    QString TextoAnterior;              // its text when it took the focus (Esc puts it back)
    bool TipoDocAutomatico = true;      // the bridge cycle still proposes the document kind
    bool PrimeiraManual = false;        // the manual weighing to come is a first one
    QDateTime DataPrimeiraPesagem;      // moment of the first weighing on the screen

    bool PesagemManual() const { return m_pesagemManual; }
    // Manual mode on or off: the flag, the menu check mark and the mark lblPM together.
    void definirPesagemManual(bool ligada);
    // Each part of it alone, as the saves switch it off.
    void definirMnuOpc4Marcado(bool marcado) { m_e.mnuOpc4Marcado = marcado; }
    void definirLblPMVisivel(bool visivel) { m_e.lblPMVisivel = visivel; }
    void definirPesagemManualSo(bool ligada) { m_pesagemManual = ligada; }

    // ----- Writes of the screen by its neighbours
    QString txt(int Index) const { return m_e.txt.at(std::size_t(Index)).texto; }
    // A program write of a field: the change handling runs when the text differs.
    void definirTexto(int Index, const QString& texto);
    void definirLblB1(const QString& s) { m_e.lblB1 = s; }
    void definirLblB2(const QString& s) { m_e.lblB2 = s; }
    void definirLblLiq(const QString& s) { m_e.lblLiq = s; }
    // Selects a document kind without moving the focus (-1: none).
    void seleccionarTipoDocumento(int opt) { m_e.opt = opt; }
    void definirCmdBActivo(int Index, bool activo) { m_e.cmdB.at(std::size_t(Index)).activo = activo; }
    void definirMenuActivo(const QString& item, bool activo) { m_e.menus[item] = activo; }
    // An item's own enabled flag, and whether it can be used (its menu enabled too).
    bool menuActivo(const QString& item) const { return m_e.menus.value(item, true); }
    bool menuUtilizavel(const QString& item) const;
    // The bridge button reads "Pesagem": it has the focus.
    bool cmdBComFoco(int Index) const;

    // True while the screen identifies, looks up, saves or has a box or a
    // window open: a card read must wait.
    bool Ocupado() const { return m_ocupado > 0; }

    // ----- Focus
    Controlo foco() const { return m_e.foco; }
    // Moves the focus (a control that cannot take it keeps it where it is).
    void DarFoco(Controlo c);
    void DarFocoTxt(int Index) { DarFoco(Controlo::txt(Index)); }

    // ----- Events the window passes in
    // The caret or selection of a field as the operator left it.
    void definirSeleccao(int Index, int inicio, int comprimento);
    // The selection the screen asks the window to show, once.
    std::optional<std::pair<int, int>> tomarPedidoSeleccao(int Index);
    // A typed character (8 Backspace, 13 Enter, 27 Esc, or a printable one),
    // with what the field then does by default.
    void Teclar(int Index, int KeyAscii);
    // Pasted or composed text: each character as if typed.
    void Colar(int Index, const QString& texto);
    // An edit the window's field made itself (Delete, cut).
    void TextoEditado(int Index, const QString& texto, int cursor);

    // ----- The window: load, activation, close and menus
    void Form_Load();
    void Form_Activate();
    // The window shown (the login hands over) or hidden.
    void definirJanelaVisivel(bool visivel) { m_e.janelaVisivel = visivel; }
    // True when the close is refused.
    bool Form_Unload();
    // The "&Opções" menu pops up on a right click of the window's background.
    bool MostraOpcoesAoClicar() const;
    void mnuPrg_Click(int Index);
    void mnuTab_Click(int Index);
    void mnuEst_Click(int Index);
    void mnuOpc_Click(int Index);
    void mnuSis_Click(int Index);
    void mnuAjuda_Click(int Index);
    void cmpPM_Click(int Index);
    void chkVtN_Click(bool marcado);
    // Stops the timers and the ports and ends the program.
    void Terminar();
    bool temporizadorActivo(int Index) const;
    int intervaloTemporizador(int Index) const;

    // ----- Entry fields
    void txt_GotFocus(int Index);
    void txt_LostFocus(int Index);
    void txt_KeyPress(int Index, int& KeyAscii);
    void txt_KeyDown(int Index, int KeyCode, int Shift);
    void txt_Change(int Index);
    void txt_DblClick(int Index);

    // ----- Clearing and layout
    void LimparEcra();
    void MostrarPesagem();
    // The screen's part of the start-over: "&Apagar primeira pesagem" off, the
    // vehicle fields emptied, the screen cleared.
    void RecomecarEcra();
    void RefrescarLista();

    // ----- Bridge buttons and document kinds
    void cmdB_Click(int Index);
    void cmdB_GotFocus(int Index);
    void cmdB_KeyDown(int Index, int KeyCode, int Shift);
    void cmdB_LostFocus(int Index);
    void opt_GotFocus(int Index);
    void opt_KeyPress(int Index, int& KeyAscii);
    void opt_LostFocus(int Index);

    // ----- Identification
    void IdentificarStatusPesagem();
    bool ConsultarPrimeiraPesagem();
    bool ConsultarViatura();

    // ----- Reference codes
    void ConsultarEntidade();
    void GravarEntidade();
    void ConsultarTransportador();
    void GravarTransportador();
    void ConsultarProduto();
    void GravarProduto();
    void ConsultarLocalCarga();
    void GravarLocalCarga();
    void ConsultarLocalDescarga();
    void GravarLocalDescarga();

    // ----- Quick list of plates
    void lst_Click(const QString& matricula);

    // ----- The saves, through the records
    void GravarPrimeiraPesagem();
    void GravarSegundaPesagem();

    // Runs one tick of a bridge's cycle.
    void tmr_Timer(int Index);

    // A box shown by the screen, with the screen busy meanwhile.
    int MsgBox(const QString& texto, int estilo, const QString& titulo);

Q_SIGNALS:
    // Something the window shows may have changed outside an event it passed in.
    void alterado();
    // A box or a window is about to open over the screen: the window shows
    // the screen as it is now.
    void antesDeCaixa();

private:
    class Ocupacao;

    void perderFoco(Controlo c);
    void ganharFoco(Controlo c);
    bool podeTerFoco(Controlo c) const;
    void pedirSeleccao(int Index, int inicio, int comprimento);
    void seleccionarTudo(int Index);
    void escreverCampo(int Index, const QString& texto, bool doOperador);
    void editar(int Index, const QString& texto, int caret);
    void passoPesar();
    void prontoParaSeguinte();
    // The key a vehicle is looked up by: the code's field and text when a code
    // is typed, else the plate's; nothing when both are blank.
    std::optional<std::pair<QString, QString>> chaveViatura() const;
    void reconstruirListaRapida();
    void abrirConsulta(const QString& titulo);
    void pedirAcesso(bool modal);
    void consultarCodigo(const MembroReferencia& m);
    void gravarCodigo(const MembroReferencia& m);
    void apagarPrimeiraPesagem();
    void imprimirUltimoDocumento();
    void aplicarMenusDoNivel(int nivel);
    void passoCarga(const std::function<void()>& f);
    bool passo(const QString& cabecalho, const std::function<void()>& f);
    void abrirModal(void (JanelasEcra::*janela)());

    Estacao& m_estacao;
    EstadoEcra m_e;
    std::array<EstadoBascula, 2> m_bascula;
    std::array<QTimer, 2> m_tmr;
    std::array<bool, CamposEntrada::Numero> m_seleccaoPedida{};
    bool m_pesagemManual = false;
    bool m_edicaoOperador = false;
    int m_ocupado = 0;
    DispositivosEcra* m_dispositivos = nullptr;
    RegistosEcra* m_registos = nullptr;
    JanelasEcra* m_janelas = nullptr;
};
