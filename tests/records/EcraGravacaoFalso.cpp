#include "EcraGravacaoFalso.h"

void EcraGravacaoFalso::preencher(const QString& codigo, const QString& matricula, const QString& pesoEntrada,
                          const QString& pesoSaida)
{
    campos.fill(QString());
    campos[Txt::CodigoViatura] = codigo;
    campos[Txt::Viatura] = matricula;
    campos[Txt::CodigoEntidade] = QStringLiteral("C01");
    campos[Txt::Entidade] = QStringLiteral("Quinta D'Ouro");
    campos[Txt::CodigoTransportador] = QStringLiteral("T01");
    campos[Txt::Transportador] = QStringLiteral("Transportes Rápidos");
    campos[Txt::CodigoProduto] = QStringLiteral("P01");
    campos[Txt::Produto] = QStringLiteral("Areia");
    campos[Txt::CodigoLocalCarga] = QStringLiteral("LC1");
    campos[Txt::LocalCarga] = QStringLiteral("Pedreira");
    campos[Txt::CodigoLocalDescarga] = QStringLiteral("LD1");
    campos[Txt::LocalDescarga] = QStringLiteral("Obra");
    campos[Txt::Observacoes] = QStringLiteral("Sem lona");
    campos[Txt::PesoEntrada] = pesoEntrada;
    campos[Txt::PesoSaida] = pesoSaida;
}

void EcraGravacaoFalso::ajustar(const QString& script)
{
    for (const QString& par : script.split(u' ', Qt::SkipEmptyParts)) {
        const QString chave = par.section(u'=', 0, 0), valor = par.section(u'=', 1);
        if (chave == u"modo")
            modo = valor;
        else if (chave == u"b1")
            b1 = valor;
        else if (chave == u"opcao")
            opcao = valor.toInt();
        else
            campos.at(chave.toInt()) = valor;
    }
}
