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

void EcraBasculaFalso::gravar(const QString& qual)
{
    registo << qual;
    if (aoGravar)
        aoGravar();
}

void EcraBasculaFalso::PesagemAutomatica(int Index)
{
    registo << QStringLiteral("PesagemAutomatica %1").arg(Index);
    if (aoPesagemAutomatica)
        aoPesagemAutomatica(Index);
}
