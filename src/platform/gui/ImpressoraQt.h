#pragma once

#include "reporting/DestinoRelatorios.h"

#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrinterInfo>
#include <QSet>
#include <QString>
#include <functional>

class QWidget;
class JanelaVisualizacao;
class Relogio;

// The station's printer and previews, where the report engine's documents
// and listings go. A document goes to a preview window that does not hold up
// the station, or its copies go to the default printer, or, when the machine
// has none, into a new PDF file, so no document is ever lost. The pages of a
// long report are shown in a preview window of their own that draws each page
// when it comes into view, and its progress in a small window.
class ImpressoraQt : public DestinoRelatorios
{
public:
    explicit ImpressoraQt(const Relogio& relogio);
    ~ImpressoraQt() override;

    // The printer a request for the printer goes to; a null one means the
    // machine has none. The system's default printer unless replaced (tests
    // always replace it, so they never reach a real print queue).
    std::function<QPrinterInfo()> impressoraPorDefeito = [] { return QPrinterInfo::defaultPrinter(); };

    // The window a preview belongs to when no modal window is open.
    void setJanelaPrincipal(QWidget* janela) { m_janelaPrincipal = janela; }

    void mostrarDocumento(const QString& html, bool paisagem, const PedidoRelatorio& pedido) override;
    void mostrarPaginas(PaginasVisualizacao* paginas, const PedidoRelatorio& pedido) override;
    ImpressaoEscolhida escolherImpressao(const QString& nome, const QString& pastaPdf) override;
    void pdfTerminado(const QString& caminho, bool escrito) override;
    std::unique_ptr<ProgressoListagem> abrirProgresso(const QString& titulo, std::function<void()> cancelar) override;

    // The last preview windows opened, and the last PDF file written.
    QPrintPreviewDialog* ultimaJanela() const { return m_ultimaJanela; }
    JanelaVisualizacao* ultimaVisualizacao() const;
    const QString& ultimoPdf() const { return m_ultimoPdf; }

private:
    // The window a new preview or progress belongs to: the modal window open
    // (so it is not blocked by it), else the main window.
    QWidget* janelaPai() const;
    // A new PDF file's name in `pasta` for the document `nome`, promised to
    // one run until it says how it ended (pdfTerminado), so two runs never
    // take one name; empty when the folder cannot be made.
    QString reservarPdf(const QString& pasta, const QString& nome);

    const Relogio& m_relogio;
    QPointer<QWidget> m_janelaPrincipal;
    QPointer<QPrintPreviewDialog> m_ultimaJanela;
    QPointer<JanelaVisualizacao> m_ultimaVisualizacao;
    QSet<QString> m_reservados;
    QString m_ultimoPdf;
};
