#pragma once

#include "platform/Relatorio.h"

#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrinterInfo>
#include <QString>
#include <functional>

class QWidget;
class Relogio;

// The station's printer and preview: a laid-out document (HTML) goes to a
// preview window that does not hold up the station, or its copies go to the
// default printer, or, when the machine has none, into a new PDF file in the
// given folder, so no document is ever lost.
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

    // Prints `copias` copies of the document named `nome`; a PDF goes into
    // `pastaPdf`. Returns an EstadoRelatorio. With `numerarPaginas` each page
    // ends with "Página n de m".
    int imprimir(const QString& html, bool paisagem, const QString& nome, int copias, const QString& pastaPdf,
                 bool numerarPaginas = false);
    // Opens a preview window with the request's title, position and state.
    void mostrar(const QString& html, bool paisagem, const PedidoRelatorio& pedido, bool numerarPaginas = false);

    // The last preview window opened, and the last PDF file written.
    QPrintPreviewDialog* ultimaJanela() const { return m_ultimaJanela; }
    const QString& ultimoPdf() const { return m_ultimoPdf; }

private:
    QString proximoPdf(const QString& pasta, const QString& nome) const;

    const Relogio& m_relogio;
    QPointer<QWidget> m_janelaPrincipal;
    QPointer<QPrintPreviewDialog> m_ultimaJanela;
    QString m_ultimoPdf;
};
