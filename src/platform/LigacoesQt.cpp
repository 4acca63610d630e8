#include "platform/LigacoesQt.h"

namespace {
bool indiceValido(int bascula)
{
    return bascula == 0 || bascula == 1;
}
bool indiceValido(int bascula, Canal::Tipo canal)
{
    return indiceValido(bascula) && canal >= 0 && canal <= 2;
}
}  // namespace

LigacoesQt::LigacoesQt(const FicheiroPerfil& ini)
{
    for (int b = 0; b < 2; ++b) {
        for (auto& p : m_portas[b])
            p = std::make_unique<PortaSerie>(ini);
        m_tcp[b] = std::make_unique<LigacaoTcp>();
        m_tcp[b]->DataArrival = [this, b](const QByteArray& dados) {
            if (aoReceberTcp)
                aoReceberTcp(b, dados);
        };
    }
}

LigacoesQt::~LigacoesQt() = default;

void LigacoesQt::definirPorta(int bascula, Canal::Tipo canal, int numero)
{
    if (indiceValido(bascula, canal))
        porta(bascula, canal).setCommPort(numero);
}

void LigacoesQt::definirConfiguracao(int bascula, Canal::Tipo canal, const QString& definicoes)
{
    if (indiceValido(bascula, canal))
        porta(bascula, canal).setSettings(definicoes);
}

void LigacoesQt::abrirPorta(int bascula, Canal::Tipo canal)
{
    if (indiceValido(bascula, canal))
        porta(bascula, canal).setPortOpen(true);
}

void LigacoesQt::fecharPortas()
{
    for (auto& bascula : m_portas) {
        for (auto& p : bascula)
            p->setPortOpen(false);
    }
}

void LigacoesQt::vigiarPortas(int bascula)
{
    if (!indiceValido(bascula))
        return;
    for (auto& p : m_portas[bascula])
        p->vigiar();
}

bool LigacoesQt::aberta(int bascula, Canal::Tipo canal) const
{
    return indiceValido(bascula, canal) && m_portas[bascula][canal]->PortOpen();
}

qint64 LigacoesQt::bytesEmEspera(int bascula, Canal::Tipo canal) const
{
    return indiceValido(bascula, canal) ? m_portas[bascula][canal]->InBufferCount() : 0;
}

QByteArray LigacoesQt::lerTudo(int bascula, Canal::Tipo canal)
{
    return indiceValido(bascula, canal) ? porta(bascula, canal).Input() : QByteArray();
}

bool LigacoesQt::escrever(int bascula, Canal::Tipo canal, const QByteArray& dados)
{
    return indiceValido(bascula, canal) && porta(bascula, canal).Output(dados);
}

int LigacoesQt::estadoTcp(int bascula) const
{
    return indiceValido(bascula) ? m_tcp[bascula]->State() : EstadoTcp::Fechado;
}

void LigacoesQt::fecharTcp(int bascula)
{
    if (indiceValido(bascula))
        tcp(bascula).Close();
}

void LigacoesQt::religarTcp(int bascula, const QString& endereco, quint16 porta)
{
    if (indiceValido(bascula))
        tcp(bascula).Connect(endereco, porta);
}

void LigacoesQt::enviarTcp(int bascula, const QByteArray& dados)
{
    if (indiceValido(bascula))
        tcp(bascula).SendData(dados);
}
