#include "BancadaBasculas.h"

#include "startup/ModGlobalIni.h"

BancadaBasculas::BancadaBasculas()
{
    ModGlobal::LerDefinicoes(estacao.estacao->Ini(), estacao.pasta(), estacao.estacao->Def);
    ligacao = std::make_unique<LigacaoBasculas>(*estacao.estacao, io, ecra);
    ligacao->definirSeparador(u'.');
    io.portaAberta[0][Canal::Indicador] = true;
    io.portaAberta[1][Canal::Indicador] = true;
}

void BancadaBasculas::tick(int b, int n)
{
    for (int k = 0; k < n; ++k) {
        ++io.tick;
        ligacao->tmr_Timer(b);
    }
}

void BancadaBasculas::tickAmbas(int n)
{
    for (int k = 0; k < n; ++k) {
        tick(0);
        tick(1);
    }
}

void BancadaBasculas::lerPeso(int b, qint32 peso, int n, char estab)
{
    for (int k = 0; k < n; ++k) {
        io.chegar(b, Canal::Indicador, tramaPeso(peso, estab));
        tick(b);
    }
}

QByteArray tramaA(const QByteArray& peso, const QByteArray& unidade, char modo, char estab, char fim)
{
    return '\x02' + peso + unidade + modo + estab + fim;
}

QByteArray tramaU(const QByteArray& peso, const QByteArray& unidade, char estab, char fim)
{
    return '\x02' + peso + unidade + estab + fim;
}

QByteArray tramaPeso(qint32 peso, char estab)
{
    return tramaA(QByteArray::number(peso).rightJustified(8, ' '), "kg", 'G', estab);
}

QByteArray tramaCartao(const QByteArray& codigo)
{
    return "R" + QByteArray("B1P0000000000X") + codigo.leftJustified(8, ' ') + "\r";
}
