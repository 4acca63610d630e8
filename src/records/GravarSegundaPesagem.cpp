#include "records/GravacaoPesagens.h"

#include "data/Consulta.h"
#include "data/EscritorLinha.h"
#include "data/Estacao.h"
#include "data/Passo.h"
#include "platform/Conversoes.h"
#include "platform/Erro.h"
#include "platform/Mensagens.h"
#include "platform/Relogio.h"
#include "records/EcraGravacao.h"
#include "records/LinhaPesagem.h"
#include "shared/Esquema.h"
#include "shared/ModoPesagem.h"

#include <QSqlQuery>
#include <optional>

namespace {

const QString Cabecalho = QStringLiteral("Erro no acesso à tabela de pesagens");
const QString NumeroPesagem = QStringLiteral("Número de pesagem");

struct TipoContador
{
    QString tipo;
    QString contador;  // the field of Empresas that counts this kind
};

std::optional<TipoContador> tipoEscolhido(int opcao)
{
    switch (opcao) {
    case OpcaoDocumento::Entrada: return TipoContador{QStringLiteral("E"), QStringLiteral("Entrada")};
    case OpcaoDocumento::Guia: return TipoContador{QStringLiteral("G"), QStringLiteral("Guia")};
    case OpcaoDocumento::Talao: return TipoContador{QStringLiteral("T"), QStringLiteral("Talão")};
    default: return std::nullopt;
    }
}

// Advances the counter of a kind in the company row 1 and returns the new
// number; a missing row is a failure, a Null counter counts from 1.
qint32 proximoNumero(const QSqlDatabase& db, const QString& contador)
{
    const QString campo = Esquema::citar(contador);
    const QString empresas = Esquema::citar(Esquema::Empresas);
    const QString chave = Esquema::citar(QStringLiteral("Empresa"));
    QSqlQuery q = Consulta::executar(
        db, QStringLiteral("UPDATE %1 SET %2 = COALESCE(%2, 0) + 1 WHERE %3 = 1").arg(empresas, campo, chave));
    if (q.numRowsAffected() != 1)
        Erros::lancar(3021, QStringLiteral("Não existe o registo 1 da tabela de empresas"));
    q = Consulta::executar(db, QStringLiteral("SELECT %2 FROM %1 WHERE %3 = 1").arg(empresas, campo, chave));
    if (!q.next())
        Erros::lancar(3021, QStringLiteral("Não existe o registo 1 da tabela de empresas"));
    return Conversoes::CLng(q.value(0).toDouble());
}

// The vehicle's oldest pending row by code and plate, exactly as typed.
std::optional<qint64> linhaPendente(const QSqlDatabase& db, const QString& codigo, const QString& viatura)
{
    QSqlQuery q = Consulta::executar(
        db,
        QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ? AND %4 = ? AND %5 = 'P' ORDER BY %1 LIMIT 1")
            .arg(Esquema::citar(QStringLiteral("Pesagem")), Esquema::citar(Esquema::Pesagens),
                 Esquema::citar(QStringLiteral("Código da viatura")), Esquema::citar(QStringLiteral("Viatura")),
                 Esquema::citar(QStringLiteral("Tipo de pesagem"))),
        {codigo, viatura});
    if (q.next())
        return q.value(0).toLongLong();
    return std::nullopt;
}

// Completes the pending row or adds one; returns the row's number.
qint64 escreverLinha(EscritorLinha& linha, const QSqlDatabase& db, const QString& codigo, const QString& viatura)
{
    if (const auto pendente = linhaPendente(db, codigo, viatura)) {
        linha.actualizar(*pendente);
        return *pendente;
    }
    return linha.inserir();
}

}  // namespace

void GravacaoPesagens::GravarSegundaPesagem()
{
    // No exit weight: the manual weighing is a first one.
    if (m_ecra.ModoPesagem() == Modo::SM && Conversoes::Val(m_ecra.txt(Txt::PesoSaida)) == 0) {
        m_ecra.setModoPesagem(Modo::PM);
        GravarPrimeiraPesagem();
        return;
    }
    const auto momento = momentoDoModo(Modo::SP, Modo::SM, Txt::DataSaida, QStringLiteral("2a"),
                                       QStringLiteral("Erro ao tentar gravar segunda pesagem"));
    if (!momento)
        return;
    const QDateTime dataSegunda = *momento;

    // Refused before any counter or row is touched.
    if (!pesoValido(Txt::PesoEntrada)) {
        recusar(QStringLiteral("Peso da 1a.Pesagem inválido ou em falta"));
        return;
    }
    if (!pesoValido(Txt::PesoSaida)) {
        recusar(QStringLiteral("Peso da 2a.Pesagem inválido ou em falta"));
        return;
    }
    const auto escolhido = tipoEscolhido(m_ecra.opt());
    if (!escolhido) {
        recusar(QStringLiteral("Seleccione o tipo de documento"));
        return;
    }
    const auto primeira = primeiraDaSegunda(m_ecra.ModoPesagem());
    if (!primeira)
        return;
    const QString codigo = m_ecra.txt(Txt::CodigoViatura);
    const QString viatura = m_ecra.txt(Txt::Viatura);
    const QString operador = m_estacao.Acesso.NomeOperador;

    // The fields are checked first, so no box waits while the file is locked;
    // the number goes in once it is taken.
    const CamposLinha campos = LinhaPesagem::camposSegundaPesagem(m_ecra, escolhido->tipo, primeira->momento,
                                                                  primeira->origem, dataSegunda, operador);
    EscritorLinha linha(m_estacao.bd(), Esquema::Pesagens, m_estacao.relogio);
    LinhaPesagem::definir(linha, campos, m_estacao.mensagens, Cabecalho);

    // The number and the row together, or neither: a failure stops the save
    // with the counter as it was and the screen as it is.
    m_estacao.UltimaPesagem = 0;
    qint32 numero = 0;
    qint64 pesagem = 0;
    const bool gravada = Passo(m_estacao.mensagens, Cabecalho, [&] {
        Consulta::Transaccao transaccao(m_estacao.bd());
        numero = proximoNumero(m_estacao.bd(), escolhido->contador);
        linha.definir(NumeroPesagem, numero);
        pesagem = escreverLinha(linha, m_estacao.bd(), codigo, viatura);
        transaccao.confirmar();
    });
    if (!gravada)
        return;
    TipoDocumento = escolhido->tipo;
    NumeroDocumento = numero;
    m_estacao.UltimaPesagem = qint32(pesagem);

    if (m_estacao.temBackup()) {
        // The backup's row carries the number of the main one.
        const CamposLinha copia = CamposLinha(campos) << LinhaPesagem::fixo(NumeroPesagem, NumeroDocumento);
        EscritorLinha linhaBackup(m_estacao.bdBackup(), Esquema::Pesagens, m_estacao.relogio);
        LinhaPesagem::definir(linhaBackup, copia, m_estacao.mensagens, Cabecalho);
        Passo(m_estacao.mensagens, Cabecalho,
              [&] { escreverLinha(linhaBackup, m_estacao.bdBackup(), codigo, viatura); });
    }

    concluir(Cabecalho);
}
