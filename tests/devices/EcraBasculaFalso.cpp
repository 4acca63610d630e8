#include "EcraBasculaFalso.h"

#include "platform/Erro.h"

QStringList EcraBasculaFalso::registado(const QString& inicio) const
{
    QStringList r;
    for (const QString& s : registo) {
        if (s.startsWith(inicio))
            r << s;
    }
    return r;
}

void EcraBasculaFalso::setTxt(int indice, const QString& texto)
{
    if (falharEscrita) {
        falharEscrita = false;
        throw Erro{3163, QStringLiteral("O campo é demasiado pequeno")};
    }
    campos[indice] = texto;
    registo << QStringLiteral("txt%1=%2").arg(indice).arg(texto);
}

void EcraBasculaFalso::setCmdBActivo(int b, bool activo)
{
    activoCmdB[b] = activo;
    registo << QStringLiteral("cmdB%1 activo=%2").arg(b).arg(int(activo));
}

void EcraBasculaFalso::setLblB1(const QString& t)
{
    b1 = t;
    registo << QStringLiteral("lblB1=") + t;
}

void EcraBasculaFalso::setLblB2(const QString& t)
{
    b2 = t;
    registo << QStringLiteral("lblB2=") + t;
}

void EcraBasculaFalso::setLblLiq(const QString& t)
{
    liquido = t;
    registo << QStringLiteral("lblLiq=") + t;
}

void EcraBasculaFalso::seleccionarOpt(int indice)
{
    opcao = indice;
    registo << QStringLiteral("opt%1").arg(indice);
}

void EcraBasculaFalso::focarTxt(int indice)
{
    registo << QStringLiteral("foco txt%1").arg(indice);
}

void EcraBasculaFalso::focarCmdB(int b)
{
    registo << QStringLiteral("foco cmdB%1").arg(b);
}

void EcraBasculaFalso::focarCampoActual()
{
    registo << QStringLiteral("foco CampoActual");
}

void EcraBasculaFalso::GravarPrimeiraPesagem()
{
    registo << QStringLiteral("GravarPrimeiraPesagem");
    if (aoGravar)
        aoGravar();
}

void EcraBasculaFalso::GravarSegundaPesagem()
{
    registo << QStringLiteral("GravarSegundaPesagem");
    if (aoGravar)
        aoGravar();
}

void EcraBasculaFalso::PesagemAutomatica(int Index)
{
    registo << QStringLiteral("PesagemAutomatica %1").arg(Index);
    if (aoPesagemAutomatica)
        aoPesagemAutomatica(Index);
}
