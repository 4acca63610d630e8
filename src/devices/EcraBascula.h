#pragma once

#include <QString>

// What the bridge cycle needs of the weighing screen: the weighing being
// entered, the bridge buttons, the origin and net-weight labels, the document
// kind, the focus, and the saves and the automatic weighing it starts. The
// main window's logic implements it; the cycle never touches a widget of the
// screen. Bridge indexes are 0 for B1 and 1 for B2.
class EcraBascula
{
public:
    virtual ~EcraBascula() = default;

    // The weighing mode: "PP", "SP", "PM", "SM" or "" while no weighing is entered.
    virtual QString ModoPesagem() const = 0;

    // Entry field `txt(indice)`, 0 to 18.
    virtual QString txt(int indice) const = 0;
    // Writes an entry field as the bridge cycle does: the field's change
    // handling runs (the cycle only writes a text that differs). The cycle
    // caps the weights it writes into fields 13 and 16 at the larger of the
    // two bridges' capacities itself, so the typed-weight cap (the average of
    // the capacities) must not be applied to these writes.
    virtual void setTxt(int indice, const QString& texto) = 0;

    // `cmdB(bascula)` has the focus, as the screen's logic tracks it (its
    // caption reads "Pesagem"); not Qt's focus, which a message box takes away.
    virtual bool cmdBComFoco(int bascula) const = 0;
    // Enabled state of `cmdB(bascula)`; the cycle disables it while no mode applies.
    virtual bool cmdBActivo(int bascula) const = 0;
    virtual void setCmdBActivo(int bascula, bool activo) = 0;

    // Origin labels of the first (`lblB1`) and second (`lblB2`) weight.
    virtual QString lblB1() const = 0;
    virtual void setLblB1(const QString& texto) = 0;
    virtual QString lblB2() const = 0;
    virtual void setLblB2(const QString& texto) = 0;

    // The net weight label.
    virtual QString lblLiq() const = 0;
    virtual void setLblLiq(const QString& texto) = 0;

    // True while the document kind is still proposed from the weights.
    virtual bool TipoDocAutomatico() const = 0;
    // The selected document-kind option `opt`: 0 "&Entrada", 1 "&Guia",
    // 2 "&Talão", -1 none.
    virtual int optSeleccionada() const = 0;
    // Selects an option without moving the focus, so TipoDocAutomatico stays.
    virtual void seleccionarOpt(int indice) = 0;

    // Focus moves made by the cycle (GotFocus/LostFocus run as for the operator).
    virtual void focarTxt(int indice) = 0;
    virtual void focarCmdB(int bascula) = 0;
    // Back to the entry field the operator was last in, `txt(CampoActual)`.
    virtual void focarCampoActual() = 0;

    // The saves of the filled screen, asked for by the save questions.
    virtual void GravarPrimeiraPesagem() = 0;
    virtual void GravarSegundaPesagem() = 0;

    // A new card at a loaded bridge. Runs synchronously; sets
    // `UltimoCartao(Index)` both when it records the weighing and when it hands
    // the code to the screen, so one stay of a vehicle gives one weighing.
    virtual void PesagemAutomatica(int Index) = 0;

    // True while the screen runs a save or waits on a question of its own
    // (such as a save started by Enter on the last weight field). While it is,
    // the cycle asks no save question and keeps a new card waiting.
    virtual bool ocupado() const = 0;
};
