#pragma once

#include "platform/impressao/EntregaImpressao.h"
#include "reporting/DestinoRelatorios.h"

#include <QString>
#include <memory>

class FicheiroPdf;
class FioImpressao;
class QPageLayout;
class QPdfWriter;

// Where a print run's pages go: a PDF written into a file of the station's
// own, checked page by page, and handed whole by the print thread to the
// print system's default queue once the run ends well; or, when the
// machine has no print system at all, a new PDF file that takes its name
// only then. A failed or cancelled run leaves no file behind and reaches no
// printer; a write that fails stops the run at the page it came in. Made,
// used and ended in one thread; the pages are laid out as the run asks.
class SaidaImpressao : public SaidaPaginas
{
public:
    // To the print system at `destino`, through `fio`; the document is called `nome` there.
    SaidaImpressao(FioImpressao& fio, const DestinoImpressao& destino, const QString& nome, const QPageLayout& folha);
    // To the PDF nomePdf(basePdf, numeroPdf), or a later name.
    SaidaImpressao(const QString& basePdf, int numeroPdf, const QString& nome, const QPageLayout& folha);
    ~SaidaImpressao() override;
    SaidaImpressao(const SaidaImpressao&) = delete;
    SaidaImpressao& operator=(const SaidaImpressao&) = delete;

    QPagedPaintDevice* dispositivo() const override;
    QString verificar() override;
    QString concluir() override;
    QString ficheiro() const override;
    void desistir() override;
    int entregar(const std::atomic<bool>& cancelado, QString& motivo) override;
    bool entregarDepois(std::function<void(int estado, const QString& motivo)> resposta) override;

    // The status and the operator's words of what became of a print.
    static int estadoDe(const EntregaImpressao& entrega, QString& motivo);

private:
    SaidaImpressao(FioImpressao* fio, const DestinoImpressao& destino, std::unique_ptr<FicheiroPdf> ficheiro,
                   const QString& nome, const QPageLayout& folha);

    FioImpressao* const m_fio;  // none for a PDF
    const DestinoImpressao m_destino;
    const QString m_nome;
    std::unique_ptr<FicheiroPdf> m_ficheiro;
    std::unique_ptr<QPdfWriter> m_pdf;
};
