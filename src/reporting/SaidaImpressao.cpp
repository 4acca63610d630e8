#include "reporting/SaidaImpressao.h"

#include "platform/Relatorio.h"
#include "platform/impressao/FicheiroPdf.h"
#include "platform/impressao/FioImpressao.h"
#include "reporting/FolhaEstacao.h"

#include <QDir>
#include <QLoggingCategory>
#include <QPdfWriter>

namespace {
Q_LOGGING_CATEGORY(diarioImpressao, "zumarel.relatorios")
}  // namespace

SaidaImpressao::SaidaImpressao(FioImpressao* fio, const DestinoImpressao& destino, std::unique_ptr<FicheiroPdf> ficheiro,
                               const QString& nome, const QPageLayout& folha)
    : m_fio(fio),
      m_destino(destino),
      m_nome(nome),
      m_ficheiro(std::move(ficheiro))
{
    if (!m_ficheiro->abrir())
        return;
    m_pdf = std::make_unique<QPdfWriter>(m_ficheiro.get());
    m_pdf->setResolution(ResolucaoPapel);
    m_pdf->setTitle(nome);
    m_pdf->setCreator(QStringLiteral("Zumarel"));
    m_pdf->setPageLayout(folha);
}

SaidaImpressao::SaidaImpressao(FioImpressao& fio, const DestinoImpressao& destino, const QString& nome,
                               const QPageLayout& folha)
    : SaidaImpressao(&fio, destino, FicheiroPdf::daImpressao(QDir::tempPath()), nome, folha)
{}

SaidaImpressao::SaidaImpressao(const QString& basePdf, int numeroPdf, const QString& nome, const QPageLayout& folha)
    : SaidaImpressao(nullptr, {}, std::make_unique<FicheiroPdf>(basePdf, numeroPdf), nome, folha)
{}

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
    // The pages so far go out now, so a full disk stops the run at the page it came in.
    m_ficheiro->despejar();
    return m_ficheiro->falha();
}

QString SaidaImpressao::concluir()
{
    m_pdf.reset();
    if (!m_ficheiro->concluir())
        return m_ficheiro->falha().isEmpty() ? QStringLiteral("A impressão foi abandonada") : m_ficheiro->falha();
    return {};
}

int SaidaImpressao::entregar(const std::atomic<bool>& cancelado, QString& motivo)
{
    if (!m_fio)
        return EstadoRelatorio::Executado;
    return estadoDe(m_fio->entregar(m_destino, m_ficheiro->descritor(), m_nome, cancelado), motivo);
}

bool SaidaImpressao::entregarDepois(std::function<void(int, const QString&)> resposta)
{
    if (!m_fio)
        return false;
    m_fio->entregarDepois(m_destino, m_ficheiro->descritor(), m_nome, [resposta](const EntregaImpressao& entrega) {
        QString motivo;
        const int estado = estadoDe(entrega, motivo);
        resposta(estado, motivo);
    });
    return true;
}

int SaidaImpressao::estadoDe(const EntregaImpressao& entrega, QString& motivo)
{
    using Resultado = EntregaImpressao::Resultado;
    switch (entrega.resultado) {
    case Resultado::Aceite:
        qCInfo(diarioImpressao).noquote() << QStringLiteral("print job %1 taken by queue %2").arg(entrega.trabalho).arg(entrega.fila);
        return EstadoRelatorio::Executado;
    case Resultado::Retido:
        qCWarning(diarioImpressao).noquote()
            << QStringLiteral("print job %1 held by queue %2: %3").arg(entrega.trabalho).arg(entrega.fila, entrega.razao);
        return EstadoRelatorio::Executado;
    case Resultado::Cancelado: return EstadoRelatorio::Cancelado;
    case Resultado::Recusado:
        motivo = entrega.fila.isEmpty()
                     ? QStringLiteral("Não foi possível imprimir: %1").arg(entrega.razao)
                     : QStringLiteral("A impressora %1 não aceitou o trabalho: %2").arg(entrega.fila, entrega.razao);
        return EstadoRelatorio::FalhaImpressao;
    case Resultado::FicheiroFalhou: break;
    }
    motivo = QStringLiteral("Não foi possível ler o ficheiro temporário da impressão, na pasta %1: %2")
                 .arg(QDir::tempPath(), entrega.razao);
    return EstadoRelatorio::FalhaImpressao;
}

QString SaidaImpressao::ficheiro() const
{
    return m_fio ? QString() : m_ficheiro->caminho();
}

void SaidaImpressao::desistir()
{
    m_ficheiro->desistir();
}
