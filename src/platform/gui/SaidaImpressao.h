#pragma once

#include "platform/gui/EntregaImpressao.h"
#include "reporting/DestinoRelatorios.h"

#include <QString>
#include <memory>

class FicheiroPdf;
class QPageLayout;
class QPdfWriter;

// Where a print run's pages go: a PDF written into a file of the station's
// own, checked page by page, and handed whole to the print system's queue
// once the run ends well; or, when the machine has no printer, a new PDF
// file that takes its name only then. A failed or cancelled run leaves no
// file behind and reaches no printer; a write that fails stops the run at
// the page it came in. Made, used and ended in one thread; the pages are
// laid out as the run asks.
class SaidaImpressao : public SaidaPaginas
{
public:
    // To the queue `fila`, or, when there is none, to the PDF
    // nomePdf(basePdf, numeroPdf) (or a later name); the document is called
    // `nome` there.
    SaidaImpressao(const FilaImpressao& fila, const QString& basePdf, int numeroPdf, const QString& nome,
                   const QPageLayout& folha);
    ~SaidaImpressao() override;
    SaidaImpressao(const SaidaImpressao&) = delete;
    SaidaImpressao& operator=(const SaidaImpressao&) = delete;

    QPagedPaintDevice* dispositivo() const override;
    QString verificar() override;
    QString concluir() override;
    QString ficheiro() const override;
    void desistir() override;

private:
    // Hands the whole file to the queue: empty when it took it.
    QString entregar();

    const FilaImpressao m_fila;
    const QString m_nome;
    std::unique_ptr<FicheiroPdf> m_ficheiro;
    std::unique_ptr<QPdfWriter> m_pdf;
};
