#pragma once

#include "platform/Ligacoes.h"
#include "screen/EcraPesagem.h"
#include "screen/ServicosEcra.h"
#include "shared/EstadoBascula.h"

#include <QStringList>
#include <array>
#include <functional>

// The windows the screen opens, recorded by name; a window can act while
// "open" (the look-up list writing a code, for one).
class JanelasFalsas : public JanelasEcra
{
public:
    QStringList abertas;
    std::function<void(const QString&)> aoAbrir;

    void frmAcesso(bool modal) override { abrir(modal ? QStringLiteral("frmAcesso modal") : QStringLiteral("frmAcesso")); }
    void frmTabelas() override { abrir(QStringLiteral("frmTabelas")); }
    void frmMapas() override { abrir(QStringLiteral("frmMapas")); }
    void frmSegVia() override { abrir(QStringLiteral("frmSegVia")); }
    void frmAnularPsg() override { abrir(QStringLiteral("frmAnularPsg")); }
    void frmRelogio() override { abrir(QStringLiteral("frmRelogio")); }
    void frmAltCod() override { abrir(QStringLiteral("frmAltCod")); }
    void frmPar() override { abrir(QStringLiteral("frmPar")); }
    void frmAcerca() override { abrir(QStringLiteral("frmAcerca")); }
    void frmMenu() override { abrir(QStringLiteral("frmMenu")); }
    void Calculadora() override { abrir(QStringLiteral("Calculadora")); }
    void Ajuda() override { abrir(QStringLiteral("Ajuda")); }

private:
    void abrir(const QString& nome)
    {
        abertas << nome;
        if (aoAbrir)
            aoAbrir(nome);
    }
};

// The device link, with both bridges' state held here and every call counted.
class DispositivosFalsos
{
public:
    std::array<EstadoBascula, 2> estados;
    int cargas = 0;
    int fechos = 0;

    void ligar(PartesEcra& p)
    {
        p.CarregarDispositivos = [this] { ++cargas; };
        p.tmr_Timer = [](int) {};
        p.FecharPortas = [this] { ++fechos; };
        p.Estado = [this](int i) -> EstadoBascula& { return estados.at(std::size_t(i)); };
    }
};

// The saves and the grid: the saves are counted and end, as the real ones do,
// with the start-over, which is the screen's own.
class RegistosFalsos
{
public:
    explicit RegistosFalsos(EcraPesagem& ecra) : m_ecra(ecra) {}
    int primeiras = 0;
    int segundas = 0;
    int refrescamentos = 0;
    bool falharRefrescar = false;

    void ligar(PartesEcra& p)
    {
        p.GravarPrimeiraPesagem = [this] { ++primeiras; RefrescarLista(); };
        p.GravarSegundaPesagem = [this] { ++segundas; RefrescarLista(); };
        p.RefrescarLista = [this] { RefrescarLista(); };
    }
    void RefrescarLista();

private:
    EcraPesagem& m_ecra;
};

// Ports that are never there: every set-up works, nothing is ever open or read.
class LigacoesInactivas : public LigacoesDispositivos
{
public:
    void definirPorta(int, Canal::Tipo, int) override {}
    void definirConfiguracao(int, Canal::Tipo, const QString&) override {}
    void abrirPorta(int, Canal::Tipo) override {}
    void fecharPortas() override {}
    bool aberta(int, Canal::Tipo) const override { return false; }
    qint64 bytesEmEspera(int, Canal::Tipo) const override { return 0; }
    QByteArray lerTudo(int, Canal::Tipo) override { return {}; }
    bool escrever(int, Canal::Tipo, const QByteArray&) override { return false; }
    int estadoTcp(int) const override { return EstadoTcp::Fechado; }
    void fecharTcp(int) override {}
    void religarTcp(int, const QString&, quint16) override {}
    void enviarTcp(int, const QByteArray&) override {}
};
