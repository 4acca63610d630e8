#pragma once

#include "platform/impressao/FioImpressao.h"
#include "platform/impressao/LugaresImpressao.h"
#include "reporting/DestinoRelatorios.h"

#include <QPointer>
#include <QPrintPreviewDialog>
#include <QSet>
#include <QString>
#include <chrono>

class QWidget;
class JanelaVisualizacao;
class Relogio;
class ServicoMensagens;

// The station's printer and previews, where the report engine's documents
// and listings go. A document goes to a preview window that does not hold up
// the station, or its copies go to the print system's default queue: its
// pages are made at once, and the print thread hands them over while the
// station goes on, telling later how it went. Where the machine has no
// print system at all, they go into a new PDF file instead; a print system
// that is there but fails fails the print, which is told with its reason.
// The pages of a long report are shown in a preview window of their own
// that draws each page when it comes into view, and its progress in a small
// window. A document printed from its preview goes the same way, and when
// it does not print the station's error box says why.
class ImpressoraQt : public DestinoRelatorios
{
public:
    ImpressoraQt(const Relogio& relogio, ServicoMensagens& mensagens);
    ~ImpressoraQt() override;

    // Where the print system is looked for: this machine's, unless replaced
    // (tests always replace it, so they never reach a real print server).
    LugaresImpressao lugaresImpressao = LugaresImpressao::daMaquina();
    // The longest a print waits for its print server.
    std::chrono::milliseconds esperaImpressao{30000};

    // The window a preview belongs to when no modal window is open.
    void setJanelaPrincipal(QWidget* janela) { m_janelaPrincipal = janela; }

    void mostrarDocumento(const QString& html, bool paisagem, const PedidoRelatorio& pedido,
                          const QString& pastaPdf) override;
    void mostrarPaginas(PaginasVisualizacao* paginas, const PedidoRelatorio& pedido) override;
    ImpressaoEscolhida escolherImpressao(const QString& nome, const QString& pastaPdf) override;
    void pdfTerminado(const QString& pdf, const QString& escrito) override;
    std::unique_ptr<ProgressoListagem> abrirProgresso(const QString& titulo, std::function<void()> cancelar) override;

    // The last preview windows opened, and the last PDF file written.
    QPrintPreviewDialog* ultimaJanela() const { return m_ultimaJanela; }
    JanelaVisualizacao* ultimaVisualizacao() const;
    const QString& ultimoPdf() const { return m_ultimoPdf; }

private:
    // The window a new preview or progress belongs to: the modal window open
    // (so it is not blocked by it), else the main window.
    QWidget* janelaPai() const;
    // Prints a document shown in a preview, once, saying so when it fails.
    void imprimirVisto(const QString& html, bool paisagem, const QString& nome, const QString& pastaPdf);
    // Says why a document printed from its preview did not print.
    void naoImpresso(const QString& nome, int estado, const QString& motivo);

    const Relogio& m_relogio;
    ServicoMensagens& m_mensagens;
    QPointer<QWidget> m_janelaPrincipal;
    QPointer<QPrintPreviewDialog> m_ultimaJanela;
    QPointer<JanelaVisualizacao> m_ultimaVisualizacao;
    QSet<QString> m_reservados;  // the PDFs promised to runs not yet ended
    QString m_ultimoPdf;
    FioImpressao m_fio;  // last: gone first, with the answers on their way
};
