#pragma once

#include "platform/LigacaoTcp.h"
#include "platform/Ligacoes.h"
#include "platform/PortaSerie.h"

#include <array>
#include <memory>

class FicheiroPerfil;

// The real links of both bridges: six serial ports (indicator, principal and
// secondary reader per bridge) and two indicator sockets.
class LigacoesQt : public LigacoesDispositivos
{
public:
    // Port numbers name devices through this settings file's [PortasSerie].
    explicit LigacoesQt(const FicheiroPerfil& ini);
    ~LigacoesQt() override;

    void definirPorta(int bascula, Canal::Tipo canal, int numero) override;
    void definirConfiguracao(int bascula, Canal::Tipo canal, const QString& definicoes) override;
    void abrirPorta(int bascula, Canal::Tipo canal) override;
    void fecharPortas() override;
    void vigiarPortas(int bascula) override;

    bool aberta(int bascula, Canal::Tipo canal) const override;
    qint64 bytesEmEspera(int bascula, Canal::Tipo canal) const override;
    QByteArray lerTudo(int bascula, Canal::Tipo canal) override;
    bool escrever(int bascula, Canal::Tipo canal, const QByteArray& dados) override;

    int estadoTcp(int bascula) const override;
    void fecharTcp(int bascula) override;
    void religarTcp(int bascula, const QString& endereco, quint16 porta) override;
    void enviarTcp(int bascula, const QByteArray& dados) override;

private:
    PortaSerie& porta(int bascula, Canal::Tipo canal) { return *m_portas[bascula][canal]; }
    LigacaoTcp& tcp(int bascula) { return *m_tcp[bascula]; }

    std::array<std::array<std::unique_ptr<PortaSerie>, 3>, 2> m_portas;
    std::array<std::unique_ptr<LigacaoTcp>, 2> m_tcp;
};
