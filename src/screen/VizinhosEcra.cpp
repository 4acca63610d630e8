#include "screen/VizinhosEcra.h"

#include "records/PesagemAutomatica.h"
#include "screen/EcraPesagem.h"

QString VizinhosEcra::ModoPesagem() const { return m_ecra.ModoPesagem; }
QString VizinhosEcra::txt(int indice) const { return m_ecra.txt(indice); }
void VizinhosEcra::setTxt(int indice, const QString& texto) { m_ecra.definirTexto(indice, texto); }
QString VizinhosEcra::lblB1() const { return m_ecra.estado().lblB1; }
QString VizinhosEcra::lblB2() const { return m_ecra.estado().lblB2; }

bool VizinhosEcra::cmdBComFoco(int bascula) const { return m_ecra.cmdBComFoco(bascula); }
bool VizinhosEcra::cmdBActivo(int bascula) const { return m_ecra.estado().cmdB.at(std::size_t(bascula)).activo; }
void VizinhosEcra::setCmdBActivo(int bascula, bool activo) { m_ecra.definirCmdBActivo(bascula, activo); }
void VizinhosEcra::setLblB1(const QString& texto) { m_ecra.definirLblB1(texto); }
void VizinhosEcra::setLblB2(const QString& texto) { m_ecra.definirLblB2(texto); }
QString VizinhosEcra::lblLiq() const { return m_ecra.estado().lblLiq; }
void VizinhosEcra::setLblLiq(const QString& texto) { m_ecra.definirLblLiq(texto); }
bool VizinhosEcra::TipoDocAutomatico() const { return m_ecra.TipoDocAutomatico; }
int VizinhosEcra::optSeleccionada() const { return m_ecra.estado().opt; }
void VizinhosEcra::seleccionarOpt(int indice) { m_ecra.seleccionarTipoDocumento(indice); }
void VizinhosEcra::focarTxt(int indice) { m_ecra.DarFocoTxt(indice); }
void VizinhosEcra::focarCmdB(int bascula) { m_ecra.DarFoco(Controlo::cmdB(bascula)); }
void VizinhosEcra::focarCampoActual() { m_ecra.DarFocoTxt(m_ecra.CampoActual); }
void VizinhosEcra::GravarPrimeiraPesagem() { m_ecra.GravarPrimeiraPesagem(); }
void VizinhosEcra::GravarSegundaPesagem() { m_ecra.GravarSegundaPesagem(); }
bool VizinhosEcra::ocupado() const { return m_ecra.Ocupado(); }

void VizinhosEcra::PesagemAutomatica(int Index)
{
    ::PesagemAutomatica(m_ecra.estacao(), *this, m_ecra.Bascula(Index), Index);
}

void VizinhosEcra::setModoPesagem(const QString& modo) { m_ecra.ModoPesagem = modo; }
int VizinhosEcra::opt() const { return m_ecra.estado().opt; }
QDateTime VizinhosEcra::DataPrimeiraPesagem() const { return m_ecra.DataPrimeiraPesagem; }
void VizinhosEcra::setDataPrimeiraPesagem(const QDateTime& momento) { m_ecra.DataPrimeiraPesagem = momento; }

bool VizinhosEcra::mnuOpcMarcado(int Index) const
{
    return Index == MnuOpc::PesagemManual && m_ecra.estado().mnuOpc4Marcado;
}

void VizinhosEcra::setMnuOpcMarcado(int Index, bool marcado)
{
    if (Index == MnuOpc::PesagemManual)
        m_ecra.definirMnuOpc4Marcado(marcado);
}

void VizinhosEcra::setMnuOpcActivo(int Index, bool activo)
{
    m_ecra.definirMenuActivo(QStringLiteral("mnuOpc") + QString::number(Index), activo);
}

void VizinhosEcra::setLblPMVisivel(bool visivel) { m_ecra.definirLblPMVisivel(visivel); }
void VizinhosEcra::setPesagemManual(bool manual) { m_ecra.definirPesagemManualSo(manual); }
void VizinhosEcra::LimparEcra() { m_ecra.LimparEcra(); }
void VizinhosEcra::txt_KeyPress(int Index, int& KeyAscii) { m_ecra.txt_KeyPress(Index, KeyAscii); }

void VizinhosEcra::escreverCampo(int campo, const QString& texto) { m_ecra.definirTexto(campo, texto); }
