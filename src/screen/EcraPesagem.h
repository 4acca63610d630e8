#pragma once

#include "devices/EcraBascula.h"
#include "records/EcraGravacao.h"
#include "screen/CamposEcra.h"
#include "screen/ComandosPrincipal.h"
#include "screen/DisposicaoEcra.h"
#include "screen/EstadoEcra.h"
#include "screen/IdentificacaoEcra.h"
#include "screen/ReferenciasEcra.h"
#include "screen/ServicosEcra.h"
#include "shared/EstadoBascula.h"
#include "tables/DestinoEscolha.h"

#include <QDateTime>
#include <QObject>
#include <functional>

class Estacao;

// The weighing screen of the main window `frmPrincipal`, apart from its
// widgets: the state the window mirrors, the focus, the fields' writes, and
// the screen as the bridge cycle (EcraBascula), the saves and the automatic
// weighing (EcraGravacao) and the look-up list (DestinoEscolha) see it. Its
// routines live in its parts: the entry fields (campos), the layout and
// clearing with the bridge buttons and document kinds (disposicao), the
// identification (identificacao), the reference codes (referencias) and the
// window's load, activation and menus (comandos).
//
// The focus is the screen's own: a move runs the LostFocus routine of the
// control that had it and the GotFocus routine of the one that takes it,
// exactly once; moving it to the control that already has it does nothing.
class EcraPesagem : public QObject, public EcraBascula, public EcraGravacao, public DestinoEscolha
{
    Q_OBJECT

public:
    explicit EcraPesagem(Estacao& estacao, QObject* parent = nullptr);
    ~EcraPesagem() override;

    // The working parts behind the screen and the windows it opens; without
    // them, the screen does its own part only.
    void ligarPartes(const PartesEcra& partes) { m_partes = partes; }
    void ligarJanelas(JanelasEcra* j) { m_janelas = j; }

    Estacao& estacao() { return m_estacao; }
    const EstadoEcra& estado() const { return m_e; }
    CamposEcra& campos() { return m_campos; }
    DisposicaoEcra& disposicao() { return m_disposicao; }
    IdentificacaoEcra& identificacao() { return m_identificacao; }
    ReferenciasEcra& referencias() { return m_referencias; }
    ComandosPrincipal& comandos() { return m_comandos; }

    // The device state of bridge 0 (B1) or 1 (B2): the device link's once it
    // is plugged in, the screen's own before.
    EstadoBascula& Bascula(int Index);

    // ----- Shared by the bridge cycle and the records
    QString ModoPesagem() const override { return m_modoPesagem; }
    QString txt(int Index) const override { return m_e.txt.at(std::size_t(Index)).texto; }
    // A program write of a field: the change handling runs when the text differs.
    void setTxt(int Index, const QString& texto) override;
    QString lblB1() const override { return m_e.lblB1; }
    QString lblB2() const override { return m_e.lblB2; }

    // ----- EcraBascula
    bool cmdBComFoco(int Index) const override;
    bool cmdBActivo(int Index) const override { return m_e.cmdB.at(std::size_t(Index)).activo; }
    void setCmdBActivo(int Index, bool activo) override { m_e.cmdB.at(std::size_t(Index)).activo = activo; }
    void setLblB1(const QString& s) override { m_e.lblB1 = s; }
    void setLblB2(const QString& s) override { m_e.lblB2 = s; }
    QString lblLiq() const override { return m_e.lblLiq; }
    void setLblLiq(const QString& s) override { m_e.lblLiq = s; }
    bool TipoDocAutomatico() const override { return m_tipoDocAutomatico; }
    int optSeleccionada() const override { return m_e.opt; }
    // Selects a document kind without moving the focus (-1: none).
    void seleccionarOpt(int Index) override { m_e.opt = Index; }
    void focarTxt(int Index) override { DarFoco(Controlo::txt(Index)); }
    void focarCmdB(int Index) override { DarFoco(Controlo::cmdB(Index)); }
    void focarCampoActual() override { focarTxt(m_campos.CampoActual()); }
    void GravarPrimeiraPesagem() override;
    void GravarSegundaPesagem() override;
    void PesagemAutomatica(int Index) override;
    // True while the screen identifies, looks up, saves or has a box or a
    // window open: a card read must wait.
    bool ocupado() const override { return m_ocupado > 0; }

    // ----- EcraGravacao
    void setModoPesagem(const QString& modo) override { m_modoPesagem = modo; }
    int opt() const override { return m_e.opt; }
    QDateTime DataPrimeiraPesagem() const override { return m_dataPrimeiraPesagem; }
    void setDataPrimeiraPesagem(const QDateTime& momento) override { m_dataPrimeiraPesagem = momento; }
    bool mnuOpcMarcado(int Index) const override;
    void setMnuOpcMarcado(int Index, bool marcado) override;
    void setMnuOpcActivo(int Index, bool activo) override;
    void setLblPMVisivel(bool visivel) override { m_e.lblPMVisivel = visivel; }
    void setPesagemManual(bool manual) override { m_pesagemManual = manual; }
    void LimparEcra() override { m_disposicao.LimparEcra(); }
    void txt_KeyPress(int Index, int& KeyAscii) override { m_campos.txt_KeyPress(Index, KeyAscii); }

    // ----- Manual mode, the plate format and the window
    bool PesagemManual() const { return m_pesagemManual; }
    // Manual mode on or off: the flag, the menu check mark and the mark lblPM together.
    void definirPesagemManual(bool ligada);
    bool PrimeiraManual() const { return m_primeiraManual; }
    // The window shown (the login hands over) or hidden.
    void definirJanelaVisivel(bool visivel) { m_e.janelaVisivel = visivel; }
    // An item's own enabled flag, and whether it can be used (its menu enabled too).
    bool menuActivo(const QString& item) const { return m_e.menus.value(item, true); }
    bool menuUtilizavel(const QString& item) const;

    // ----- Focus
    Controlo foco() const { return m_e.foco; }
    // Moves the focus (a control that cannot take it keeps it where it is).
    void DarFoco(Controlo c);

    // A box shown by the screen, with the screen busy meanwhile.
    int MsgBox(const QString& texto, int estilo, const QString& titulo);

Q_SIGNALS:
    // Something the window shows may have changed outside an event it passed in.
    void alterado();
    // A box or a window is about to open over the screen: the window shows
    // the screen as it is now.
    void antesDeCaixa();

private:
    friend class CamposEcra;
    friend class DisposicaoEcra;
    friend class IdentificacaoEcra;
    friend class ReferenciasEcra;
    friend class ComandosPrincipal;

    // Marks the screen busy for as long as it lives, on every path out of a routine.
    class Ocupacao
    {
    public:
        explicit Ocupacao(EcraPesagem& e) : m_ecra(e) { ++m_ecra.m_ocupado; }
        ~Ocupacao() { --m_ecra.m_ocupado; }
        Ocupacao(const Ocupacao&) = delete;
        Ocupacao& operator=(const Ocupacao&) = delete;

    private:
        EcraPesagem& m_ecra;
    };

    bool podeTerFoco(Controlo c) const;
    // A step whose failure is shown in a database error box under `cabecalho`.
    bool passo(const QString& cabecalho, const std::function<void()>& f);
    // The start-over: the records' grid refresh, or the screen's own part without them.
    void RefrescarLista();
    void prontoParaSeguinte();

    Estacao& m_estacao;
    EstadoEcra m_e;
    QString m_modoPesagem;            // "", "PP", "SP", "PM" or "SM"
    QDateTime m_dataPrimeiraPesagem;  // moment of the first weighing on the screen
    bool m_tipoDocAutomatico = true;  // the bridge cycle still proposes the document kind
    bool m_pesagemManual = false;
    bool m_primeiraManual = false;  // the manual weighing to come is a first one
    std::array<EstadoBascula, 2> m_bascula;
    int m_ocupado = 0;
    PartesEcra m_partes;
    JanelasEcra* m_janelas = nullptr;

    CamposEcra m_campos{*this};
    DisposicaoEcra m_disposicao{*this};
    IdentificacaoEcra m_identificacao{*this};
    ReferenciasEcra m_referencias{*this};
    ComandosPrincipal m_comandos{*this};
};
