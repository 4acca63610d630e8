#include "records/GravacaoPesagens.h"

#include "data/EscritorLinha.h"
#include "data/Estacao.h"
#include "data/Passo.h"
#include "platform/Mensagens.h"
#include "records/EcraGravacao.h"
#include "records/LinhaPesagem.h"
#include "shared/Esquema.h"
#include "shared/ModoPesagem.h"

namespace {
const QString Cabecalho = QStringLiteral("Erro no acesso à tabela de primeiras pesagens");
}

void GravacaoPesagens::GravarPrimeiraPesagem()
{
    const auto momento = momentoDoModo(Modo::PP, Modo::PM, Txt::DataEntrada, QStringLiteral("1a"),
                                       QStringLiteral("Erro ao tentar gravar primeira pesagem"));
    if (!momento)
        return;
    const QDateTime dataPrimeira = *momento;
    // Nothing is stored without a weight: it would print a ticket without one.
    if (!pesoValido(Txt::PesoEntrada)) {
        recusar(QStringLiteral("Peso da 1a.Pesagem inválido ou em falta"));
        return;
    }
    m_ecra.setDataPrimeiraPesagem(dataPrimeira);

    const CamposLinha campos = LinhaPesagem::camposPrimeiraPesagem(m_ecra, dataPrimeira, m_estacao.Acesso.NomeOperador);

    // Never the previous number: a row that failed to go in has none.
    m_estacao.UltimaPesagem = 0;
    {
        EscritorLinha linha(m_estacao.bd(), Esquema::Pesagens, m_estacao.relogio);
        LinhaPesagem::definir(linha, campos, m_estacao.mensagens, Cabecalho);
        Passo(m_estacao.mensagens, Cabecalho, [&] { m_estacao.UltimaPesagem = qint32(linha.inserir()); });
    }
    if (m_estacao.temBackup()) {
        EscritorLinha linha(m_estacao.bdBackup(), Esquema::Pesagens, m_estacao.relogio);
        LinhaPesagem::definir(linha, campos, m_estacao.mensagens, Cabecalho);
        Passo(m_estacao.mensagens, Cabecalho, [&] { linha.inserir(); });
    }

    concluir(Cabecalho);
}
