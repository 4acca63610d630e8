#pragma once

#include "reporting/DestinoRelatorios.h"

#include <QPrinterInfo>
#include <QString>
#include <memory>

class FicheiroPdf;
class QPageLayout;
class QPdfWriter;
class QPrinter;

// Where a print run's pages go: the printer the station found, or, when the
// machine has none, a new PDF file. The file is written under a temporary
// name and takes its own only when the run ends well, so a failed or
// cancelled run leaves no file behind; a write that fails stops the run at
// the page it came in. Made, used and ended in one thread; the pages are
// laid out as the run asks.
class SaidaImpressao : public SaidaPaginas
{
public:
    // To `impressora`, or to the file `pdf` when `impressora` is null; the
    // document is called `nome` there.
    SaidaImpressao(const QPrinterInfo& impressora, const QString& pdf, const QString& nome, const QPageLayout& folha);
    ~SaidaImpressao() override;
    SaidaImpressao(const SaidaImpressao&) = delete;
    SaidaImpressao& operator=(const SaidaImpressao&) = delete;

    QPagedPaintDevice* dispositivo() const override { return m_dispositivo; }
    QString verificar() override;
    QString concluir() override;
    void desistir() override;

private:
    std::unique_ptr<QPrinter> m_impressora;
    std::unique_ptr<FicheiroPdf> m_ficheiro;
    std::unique_ptr<QPdfWriter> m_pdf;
    QPagedPaintDevice* m_dispositivo = nullptr;
};
