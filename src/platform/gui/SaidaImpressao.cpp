#include "platform/gui/SaidaImpressao.h"

#include "platform/gui/FicheiroPdf.h"
#include "reporting/FolhaEstacao.h"

#include <QPdfWriter>
#include <QPrinter>

SaidaImpressao::SaidaImpressao(const QPrinterInfo& impressora, const QString& pdf, const QString& nome,
                               const QPageLayout& folha)
{
    if (!impressora.isNull()) {
        m_impressora = std::make_unique<QPrinter>(impressora, QPrinter::HighResolution);
        m_impressora->setDocName(nome);
        m_impressora->setCopyCount(1);
        m_dispositivo = m_impressora.get();
    } else {
        m_ficheiro = std::make_unique<FicheiroPdf>(pdf);
        if (!m_ficheiro->abrir())
            return;
        m_pdf = std::make_unique<QPdfWriter>(m_ficheiro.get());
        m_pdf->setResolution(ResolucaoPapel);
        m_pdf->setTitle(nome);
        m_pdf->setCreator(QStringLiteral("Zumarel"));
        m_dispositivo = m_pdf.get();
    }
    m_dispositivo->setPageLayout(folha);
}

SaidaImpressao::~SaidaImpressao()
{
    // A file not concluded is removed.
    m_pdf.reset();
    m_ficheiro.reset();
}

QString SaidaImpressao::verificar()
{
    if (!m_ficheiro || m_ficheiro->esvaziar())
        return {};
    return m_ficheiro->falha();
}

QString SaidaImpressao::concluir()
{
    if (m_impressora) {
        const QPrinter::PrinterState estado = m_impressora->printerState();
        return estado == QPrinter::Error || estado == QPrinter::Aborted ? QStringLiteral("A impressora falhou")
                                                                        : QString();
    }
    m_pdf.reset();
    if (m_ficheiro->concluir())
        return {};
    return m_ficheiro->falha().isEmpty() ? QStringLiteral("A impressão ou o ficheiro falhou") : m_ficheiro->falha();
}

void SaidaImpressao::desistir()
{
    if (m_impressora)
        m_impressora->abort();
    if (m_ficheiro)
        m_ficheiro->desistir();
}
