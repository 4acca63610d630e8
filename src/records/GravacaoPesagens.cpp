#include "records/GravacaoPesagens.h"

#include "platform/Conversoes.h"
#include "platform/Mensagens.h"
#include "records/EcraGravacao.h"
#include "records/GravarViatura.h"
#include "records/GrelhaPesagens.h"
#include "records/ImprimirDocumento.h"
#include "data/Estacao.h"
#include "data/ModGlobalCampos.h"
#include "data/Passo.h"

#include <QRegularExpression>

GravacaoPesagens::GravacaoPesagens(Estacao& estacao, EcraGravacao& ecra, GrelhaPesagens& grelha)
    : m_estacao(estacao), m_ecra(ecra), m_grelha(grelha)
{
}

std::optional<QDateTime> GravacaoPesagens::dataEscrita(const QString& data, const QString& hora)
{
    // Both boxes must hold their part: an empty date would otherwise give the
    // zero date of 1899 and an empty time midnight.
    static const QRegularExpression formatoData(QStringLiteral(R"(^\d{1,2}[-/.]\d{1,2}[-/.](\d{2}|\d{4})$)"));
    static const QRegularExpression formatoHora(QStringLiteral(R"(^\d{1,2}:\d{1,2}$)"));
    if (!formatoData.match(data.trimmed()).hasMatch() || !formatoHora.match(hora.trimmed()).hasMatch())
        return std::nullopt;
    try {
        return Conversoes::CDate(data.trimmed() + u' ' + hora.trimmed() + QStringLiteral(":00"));
    } catch (const Erro&) {
        return std::nullopt;
    }
}

bool GravacaoPesagens::pesoValido(int indice) const
{
    return PassoSilencioso([&] { ModGlobal::VarLong(m_ecra.txt(indice)); });
}

void GravacaoPesagens::recusar(const QString& texto)
{
    m_estacao.mensagens.MsgBox(texto, Estilo::Exclamacao, QStringLiteral("Atenção"));
}

void GravacaoPesagens::concluir(const QString& cabecalho)
{
    ImprimirDocumento(m_estacao, m_ecra);
    GravarViatura(m_estacao, m_ecra);
    m_ecra.DesligarPesagemManual();
    Passo(m_estacao.mensagens, cabecalho, [&] { m_grelha.RefrescarLista(); });
}
