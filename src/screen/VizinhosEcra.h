#pragma once

#include "devices/EcraBascula.h"
#include "records/EcraGravacao.h"
#include "tables/DestinoEscolha.h"

class EcraPesagem;

// The weighing screen as its neighbours see it: the bridge cycle
// (EcraBascula), the saves, the grid and the automatic weighing
// (EcraGravacao), and the look-up list (DestinoEscolha). Every call goes to
// the screen's logic; field writes run the fields' change handling.
class VizinhosEcra : public EcraBascula, public EcraGravacao, public DestinoEscolha
{
public:
    explicit VizinhosEcra(EcraPesagem& ecra) : m_ecra(ecra) {}

    // Shared by the bridge cycle and the records.
    QString ModoPesagem() const override;
    QString txt(int indice) const override;
    void setTxt(int indice, const QString& texto) override;
    QString lblB1() const override;
    QString lblB2() const override;

    // EcraBascula
    bool cmdBComFoco(int bascula) const override;
    bool cmdBActivo(int bascula) const override;
    void setCmdBActivo(int bascula, bool activo) override;
    void setLblB1(const QString& texto) override;
    void setLblB2(const QString& texto) override;
    QString lblLiq() const override;
    void setLblLiq(const QString& texto) override;
    bool TipoDocAutomatico() const override;
    int optSeleccionada() const override;
    void seleccionarOpt(int indice) override;
    void focarTxt(int indice) override;
    void focarCmdB(int bascula) override;
    void focarCampoActual() override;
    void GravarPrimeiraPesagem() override;
    void GravarSegundaPesagem() override;
    void PesagemAutomatica(int Index) override;
    bool ocupado() const override;

    // EcraGravacao
    void setModoPesagem(const QString& modo) override;
    int opt() const override;
    QDateTime DataPrimeiraPesagem() const override;
    void setDataPrimeiraPesagem(const QDateTime& momento) override;
    bool mnuOpcMarcado(int Index) const override;
    void setMnuOpcMarcado(int Index, bool marcado) override;
    void setMnuOpcActivo(int Index, bool activo) override;
    void setLblPMVisivel(bool visivel) override;
    void setPesagemManual(bool manual) override;
    void LimparEcra() override;
    void txt_KeyPress(int Index, int& KeyAscii) override;

    // DestinoEscolha
    void escreverCampo(int campo, const QString& texto) override;

private:
    EcraPesagem& m_ecra;
};
