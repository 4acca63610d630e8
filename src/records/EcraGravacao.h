#pragma once

#include <QDateTime>
#include <QString>

// What the saves, the vehicle upkeep, the document printing, the start-over of
// the recent-weighings grid and the automatic weighing need of the weighing
// screen and its main window. The main window's logic implements it; the
// records code never touches a widget.
class EcraGravacao
{
public:
    virtual ~EcraGravacao() = default;

    // The weighing mode: "PP", "SP", "PM", "SM", or "" while no weighing is
    // being entered. The second save sets "PM" when a manual second weighing
    // has no exit weight.
    virtual QString ModoPesagem() const = 0;
    virtual void setModoPesagem(const QString& modo) = 0;

    // The entry fields txt(0) to txt(18) (see Txt below), as they stand.
    virtual QString txt(int Index) const = 0;
    // Writes a field as a program write does: nothing when the text is equal,
    // otherwise the text is stored and the field's change handling runs.
    virtual void setTxt(int Index, const QString& texto) = 0;

    // The origin codes beside the first and the second weight ("B1", "B2",
    // "A1", "A2", "FV", "PM"), copied verbatim into the row.
    virtual QString lblB1() const = 0;
    virtual QString lblB2() const = 0;

    // The document-kind option selected: OpcaoDocumento::Nenhuma when none is.
    virtual int opt() const = 0;

    // The moment of the first weighing, set when the vehicle was identified
    // and by the first save.
    virtual QDateTime DataPrimeiraPesagem() const = 0;
    virtual void setDataPrimeiraPesagem(const QDateTime& momento) = 0;

    // The "&Opções" menu items by index (see MnuOpc below): checked and enabled.
    virtual bool mnuOpcMarcado(int Index) const = 0;
    virtual void setMnuOpcMarcado(int Index, bool marcado) = 0;
    virtual void setMnuOpcActivo(int Index, bool activo) = 0;

    // The manual-mode mark and flag.
    virtual void setLblPMVisivel(bool visivel) = 0;
    virtual void setPesagemManual(bool manual) = 0;

    // Clears the screen for a new weighing (the screen's own routine).
    virtual void LimparEcra() = 0;

    // The entry fields' key handling, called as if the key had been typed:
    // a card code handed over is followed by Enter (13) in field 0. Enter is
    // set to 0 when consumed.
    virtual void txt_KeyPress(int Index, int& KeyAscii) = 0;

    // Manual mode off after a save: only when "Pesagem &Manual" carries its
    // check mark, the mark is removed, lblPM hidden and PesagemManual cleared.
    void DesligarPesagemManual();
};

// Indexes of the entry fields.
namespace Txt {
constexpr int CodigoViatura = 0;
constexpr int Viatura = 1;         // the plate
constexpr int CodigoEntidade = 2;  // 2 to 11: five pairs of code and name
constexpr int Entidade = 3;
constexpr int CodigoTransportador = 4;
constexpr int Transportador = 5;
constexpr int CodigoProduto = 6;
constexpr int Produto = 7;
constexpr int CodigoLocalCarga = 8;
constexpr int LocalCarga = 9;
constexpr int CodigoLocalDescarga = 10;
constexpr int LocalDescarga = 11;
constexpr int Observacoes = 12;
constexpr int PesoEntrada = 13;  // first weight, kg
constexpr int DataEntrada = 14;  // "dd-mm-yyyy", typed in manual mode
constexpr int HoraEntrada = 15;  // "hh:nn", typed in manual mode
constexpr int PesoSaida = 16;    // second weight, kg
constexpr int DataSaida = 17;
constexpr int HoraSaida = 18;
constexpr int Quantidade = 19;
}  // namespace Txt

// The document-kind options opt(0) to opt(2).
namespace OpcaoDocumento {
constexpr int Nenhuma = -1;
constexpr int Entrada = 0;  // "&Entrada": kind 'E'
constexpr int Guia = 1;     // "&Guia": kind 'G'
constexpr int Talao = 2;    // "&Talão": kind 'T'
}  // namespace OpcaoDocumento

// Items of the "&Opções" menu that the records code touches.
namespace MnuOpc {
constexpr int UltimoDocumento = 0;        // "Último &Documento": enabled after a document is printed
constexpr int PesagemManual = 4;          // "Pesagem &Manual": checked in manual mode
constexpr int ApagarPrimeiraPesagem = 6;  // "&Apagar primeira pesagem": disabled by the start-over
}  // namespace MnuOpc

inline void EcraGravacao::DesligarPesagemManual()
{
    if (!mnuOpcMarcado(MnuOpc::PesagemManual))
        return;
    setMnuOpcMarcado(MnuOpc::PesagemManual, false);
    setLblPMVisivel(false);
    setPesagemManual(false);
}
