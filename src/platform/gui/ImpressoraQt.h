#pragma once

#include "platform/Relatorio.h"

#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrinterInfo>
#include <QSet>
#include <QString>
#include <functional>

class QTextDocument;
class QWidget;
class JanelaVisualizacao;
class PaginasVisualizacao;
class Relogio;

// The station's printer and previews. A document laid out in HTML goes to a
// preview window that does not hold up the station, or its copies go to the
// default printer, or, when the machine has none, into a new PDF file in the
// given folder, so no document is ever lost. The pages of a long report are
// shown in a preview window of their own that draws each page when it comes
// into view.
class ImpressoraQt
{
public:
    explicit ImpressoraQt(const Relogio& relogio);
    ~ImpressoraQt();

    // The printer a request for the printer goes to; a null one means the
    // machine has none. The system's default printer unless replaced (tests
    // always replace it, so they never reach a real print queue).
    std::function<QPrinterInfo()> impressoraPorDefeito = [] { return QPrinterInfo::defaultPrinter(); };

    // The window a preview belongs to when no modal window is open.
    void setJanelaPrincipal(QWidget* janela) { m_janelaPrincipal = janela; }
    // The window a new preview or progress belongs to: the modal window open
    // (so it is not blocked by it), else the main window.
    QWidget* janelaPai() const;

    // Prints `copias` copies of the document named `nome`; a PDF goes into
    // `pastaPdf`. Returns an EstadoRelatorio.
    int imprimir(const QString& html, bool paisagem, const QString& nome, int copias, const QString& pastaPdf);
    // Opens a preview window with the request's title, position and state.
    void mostrar(const QString& html, bool paisagem, const PedidoRelatorio& pedido);
    // Opens the preview window of pages made elsewhere; it takes them as its own.
    JanelaVisualizacao* mostrarPaginas(PaginasVisualizacao* paginas, const PedidoRelatorio& pedido);

    // A new PDF file's name in `pasta` for the document `nome`, promised to
    // one run until it says how it ended (pdfTerminado), so two runs never
    // take one name; empty when the folder cannot be made.
    QString reservarPdf(const QString& pasta, const QString& nome);
    void pdfTerminado(const QString& caminho, bool escrito);

    // The last preview windows opened, and the last PDF file written.
    QPrintPreviewDialog* ultimaJanela() const { return m_ultimaJanela; }
    JanelaVisualizacao* ultimaVisualizacao() const;
    const QString& ultimoPdf() const { return m_ultimoPdf; }

private:
    const Relogio& m_relogio;
    QPointer<QWidget> m_janelaPrincipal;
    QPointer<QPrintPreviewDialog> m_ultimaJanela;
    QPointer<JanelaVisualizacao> m_ultimaVisualizacao;
    QSet<QString> m_reservados;
    QString m_ultimoPdf;
};

// A document laid out the same on every machine: the station's font (DejaVu
// Sans 9.5 points) and no margin of its own.
void prepararDocumento(QTextDocument& documento, const QString& html);
