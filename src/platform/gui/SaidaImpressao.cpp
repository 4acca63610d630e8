#include "platform/gui/SaidaImpressao.h"

#include "reporting/FolhaEstacao.h"

#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>

SaidaImpressao::SaidaImpressao(const QPrinterInfo& impressora, const QString& pdf, const QString& nome,
                               const QPageLayout& folha)
{
    if (!impressora.isNull()) {
        m_impressora = std::make_unique<QPrinter>(impressora, QPrinter::HighResolution);
        m_impressora->setDocName(nome);
        m_impressora->setCopyCount(1);
        m_dispositivo = m_impressora.get();
    } else {
        m_ficheiro = std::make_unique<QSaveFile>(pdf);
        if (pdf.isEmpty() || !m_ficheiro->open(QIODevice::WriteOnly))
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
    // An uncommitted QSaveFile removes its temporary file.
    m_pdf.reset();
    if (m_ficheiro && m_ficheiro->isOpen())
        m_ficheiro->cancelWriting();
}

bool SaidaImpressao::concluir()
{
    if (!m_dispositivo)
        return false;
    if (m_impressora)
        return m_impressora->printerState() != QPrinter::Error && m_impressora->printerState() != QPrinter::Aborted;
    m_pdf.reset();
    return m_ficheiro->commit();
}

void SaidaImpressao::desistir()
{
    if (m_impressora)
        m_impressora->abort();
    if (m_ficheiro && m_ficheiro->isOpen())
        m_ficheiro->cancelWriting();
}
