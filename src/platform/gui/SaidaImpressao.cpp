#include "platform/gui/SaidaImpressao.h"

#include "platform/Relatorio.h"
#include "platform/gui/FicheiroPdf.h"
#include "reporting/FolhaEstacao.h"

#include <QDir>
#include <QLoggingCategory>
#include <QPdfWriter>

namespace {
Q_LOGGING_CATEGORY(diarioImpressao, "zumarel.relatorios")
}  // namespace

SaidaImpressao::SaidaImpressao(const FilaImpressao& fila, const QString& basePdf, int numeroPdf, const QString& nome,
                               const QPageLayout& folha)
    : m_fila(fila),
      m_nome(nome),
      m_ficheiro(fila.existe() ? FicheiroPdf::daImpressao(QDir::tempPath())
                               : std::make_unique<FicheiroPdf>(basePdf, numeroPdf))
{
    if (!m_ficheiro->abrir())
        return;
    m_pdf = std::make_unique<QPdfWriter>(m_ficheiro.get());
    m_pdf->setResolution(ResolucaoPapel);
    m_pdf->setTitle(nome);
    m_pdf->setCreator(QStringLiteral("Zumarel"));
    m_pdf->setPageLayout(folha);
}

SaidaImpressao::~SaidaImpressao()
{
    // A file not concluded is removed.
    m_pdf.reset();
    m_ficheiro.reset();
}

QPagedPaintDevice* SaidaImpressao::dispositivo() const
{
    return m_pdf.get();
}

QString SaidaImpressao::verificar()
{
    return m_ficheiro->falha();
}

QString SaidaImpressao::concluir()
{
    m_pdf.reset();
    if (!m_ficheiro->concluir())
        return m_ficheiro->falha().isEmpty() ? QStringLiteral("A impressão foi abandonada") : m_ficheiro->falha();
    return m_fila.existe() ? entregar() : QString();
}

QString SaidaImpressao::entregar()
{
    using Resultado = EntregaImpressao::Resultado;
    const EntregaImpressao entrega = entregarImpressao(m_fila, m_ficheiro->descritor(), m_nome);
    switch (entrega.resultado) {
    case Resultado::Aceite:
        qCInfo(diarioImpressao).noquote() << QStringLiteral("print job %1 taken by queue %2").arg(entrega.trabalho).arg(m_fila.nome);
        return {};
    case Resultado::Retido:
        qCWarning(diarioImpressao).noquote()
            << QStringLiteral("print job %1 held by queue %2: %3").arg(entrega.trabalho).arg(m_fila.nome, entrega.razao);
        return {};
    case Resultado::Recusado:
        return QStringLiteral("A impressora %1 não aceitou o trabalho: %2").arg(m_fila.nome, entrega.razao);
    case Resultado::FicheiroFalhou: break;
    }
    return QStringLiteral("Não foi possível ler o ficheiro temporário da impressão, na pasta %1: %2")
        .arg(QDir::tempPath(), entrega.razao);
}

QString SaidaImpressao::ficheiro() const
{
    return m_fila.existe() ? QString() : m_ficheiro->caminho();
}

void SaidaImpressao::desistir()
{
    m_ficheiro->desistir();
}
