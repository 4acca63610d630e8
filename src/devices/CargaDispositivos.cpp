#include "devices/CargaDispositivos.h"

#include "data/Estacao.h"
#include "data/Passo.h"
#include "devices/LigacaoBasculas.h"
#include "platform/Ligacoes.h"
#include "platform/Mensagens.h"

#include <QTimer>

QList<Erro> CarregarDispositivos(Estacao& estacao, LigacoesDispositivos& io, LigacaoBasculas& ligacao)
{
    const Definicoes& d = estacao.Def;
    QList<Erro> falhas;
    const auto passo = [&](const std::function<void()>& accao) {
        Erro e;
        if (PassoSilencioso(accao, &e))
            return;
        falhas << e;
        estacao.mensagens.MsgBox(QStringLiteral("Erro número: ") + QString::number(e.numero) + QStringLiteral("\n\n")
                                     + e.descricao,
                                 Estilo::Critico, tituloAplicacao());
    };
    for (int b = 0; b < 2; ++b) {
        passo([&] { io.definirPorta(b, Canal::Indicador, d.IndPorta[b]); });
        passo([&] { io.definirConfiguracao(b, Canal::Indicador, d.IndConfiguracao[b]); });
        passo([&] { io.definirPorta(b, Canal::LeitorP, d.LPPorta[b]); });
        passo([&] { io.definirConfiguracao(b, Canal::LeitorP, d.LPConfiguracao[b]); });
        if (d.LPLigado[b])
            passo([&] { io.abrirPorta(b, Canal::LeitorP); });
        passo([&] { io.definirPorta(b, Canal::LeitorS, d.LSPorta[b]); });
        passo([&] { io.definirConfiguracao(b, Canal::LeitorS, d.LSConfiguracao[b]); });
        if (d.LSLigado[b])
            passo([&] { io.abrirPorta(b, Canal::LeitorS); });
        if (d.IndLigado[b] && !d.ComunicacaoIP[b])
            passo([&] { io.abrirPorta(b, Canal::Indicador); });
    }
    for (int b = 0; b < 2; ++b) {
        ligacao.estado(b).PesoActual = d.CapacidadeMaxima[b];
        ligacao.vista().bascula[b].lblCP.clear();
        ligacao.vista().bascula[b].lblCS.clear();
    }
    return falhas;
}

void LigarTemporizadores(const std::array<QTimer*, 2>& tmr, Estacao& estacao, LigacaoBasculas& ligacao)
{
    for (int b = 0; b < 2; ++b) {
        QTimer* t = tmr[b];
        if (!t)
            continue;
        QObject::connect(t, &QTimer::timeout, t, [&ligacao, b] { ligacao.tmr_Timer(b); });
        const int intervalo = estacao.Def.IndTemporizacao[b];
        if (intervalo > 0)
            t->start(intervalo);
        else
            t->stop();
    }
}
