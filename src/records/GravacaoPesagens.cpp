#include "records/GravacaoPesagens.h"

#include "data/Estacao.h"
#include "data/ModGlobalCampos.h"
#include "data/Passo.h"
#include "platform/Conversoes.h"
#include "platform/Mensagens.h"
#include "platform/Relogio.h"
#include "records/EcraGravacao.h"
#include "records/GravarViatura.h"
#include "records/GrelhaPesagens.h"
#include "records/ImprimirDocumento.h"
#include "shared/ModoPesagem.h"

#include <QRegularExpression>

GravacaoPesagens::GravacaoPesagens(Estacao& estacao, EcraGravacao& ecra, GrelhaPesagens& grelha)
    : m_estacao(estacao),
      m_ecra(ecra),
      m_grelha(grelha)
{}

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

std::optional<QDateTime> GravacaoPesagens::momentoDoModo(const QString& ponte, const QString& manual, int campoData,
                                                         const QString& ordem, const QString& erroModo)
{
    if (m_ecra.ModoPesagem() == ponte)
        return m_estacao.relogio.agora();
    if (m_ecra.ModoPesagem() != manual) {
        m_estacao.mensagens.MsgBox(erroModo, Estilo::Critico, QStringLiteral("Atenção"));
        return std::nullopt;
    }
    const auto escrita = dataEscrita(m_ecra.txt(campoData), m_ecra.txt(campoData + 1));
    if (!escrita)
        recusar(QStringLiteral("Data ou hora da %1.Pesagem inválida").arg(ordem));
    return escrita;
}

std::optional<GravacaoPesagens::Primeira> GravacaoPesagens::primeiraDaSegunda(const QString& modo)
{
    // The identification sets the origin and the moment together; a cleared
    // screen has no origin, and then the moment held is another vehicle's.
    const QString origem = m_ecra.lblB1();
    const QDateTime identificada = origem.isEmpty() ? QDateTime() : m_ecra.DataPrimeiraPesagem();
    if (modo == Modo::SM) {
        const auto escrita = dataEscrita(m_ecra.txt(Txt::DataEntrada), m_ecra.txt(Txt::HoraEntrada));
        if (!escrita) {
            recusar(QStringLiteral("Data ou hora da 1a.Pesagem inválida"));
            return std::nullopt;
        }
        // The boxes show the identified moment to the minute: its seconds are kept.
        const bool igual = identificada.isValid()
                           && identificada.toString(QStringLiteral("yyyyMMddHHmm"))
                                  == escrita->toString(QStringLiteral("yyyyMMddHHmm"));
        return Primeira{igual ? identificada : *escrita, origem.isEmpty() ? QStringLiteral("PM") : origem};
    }
    if (!identificada.isValid()) {
        recusar(QStringLiteral("Data ou hora da 1a.Pesagem inválida"));
        return std::nullopt;
    }
    return Primeira{identificada, origem};
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
