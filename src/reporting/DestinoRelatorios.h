#pragma once

#include "platform/Relatorio.h"

#include <QString>
#include <atomic>
#include <functional>
#include <memory>

class PaginasVisualizacao;
class QPageLayout;
class QPagedPaintDevice;

// Where a print run's pages go, opened for one run and used in one thread.
class SaidaPaginas
{
public:
    // A run not ended is abandoned: nothing reaches the printer or the folder.
    virtual ~SaidaPaginas() = default;

    // What to paint on; nullptr when it cannot be opened (verificar says why).
    virtual QPagedPaintDevice* dispositivo() const = 0;
    // Between pages: sends on what the pages before gave and says why the
    // pages cannot go on (a file that cannot be written: its name and the
    // system's reason); empty while they can.
    virtual QString verificar() = 0;
    // After the painter has ended: empty when the pages went out whole; else
    // why not (the file failed, the print system did not take them, or the
    // run was abandoned).
    virtual QString concluir() = 0;
    // Once concluded: the PDF file the pages went into (its own name, or the
    // next free one where another file took it meanwhile); empty for a printer.
    virtual QString ficheiro() const = 0;
    // Before the painter ends: the run is abandoned.
    virtual void desistir() = 0;

    // Once concluded: hands the pages on to the printer and waits, in this
    // thread, for its answer: an EstadoRelatorio, Executado when they were
    // taken, FalhaImpressao with `motivo` when not, Cancelado once
    // `cancelado` is set (the wait then ends within a second). Pages that
    // went into a PDF file have nothing left to hand on.
    virtual int entregar(const std::atomic<bool>& cancelado, QString& motivo)
    {
        Q_UNUSED(cancelado);
        Q_UNUSED(motivo);
        return EstadoRelatorio::Executado;
    }
    // The same without waiting, from the station's thread: false when there
    // is nothing to hand on; else `resposta` gets the status and the reason
    // later, in the station's thread, when the printer answers.
    virtual bool entregarDepois(std::function<void(int estado, const QString& motivo)> resposta)
    {
        Q_UNUSED(resposta);
        return false;
    }
};

// Where a print run goes, chosen in the station's thread.
struct ImpressaoEscolhida
{
    // The new PDF file promised to the run (until pdfTerminado); empty when
    // the pages go to a printer.
    QString pdf;
    // Opens the pages of the document `titulo` laid out on `folha`, in the
    // thread that paints them; empty when there is nowhere to print.
    std::function<std::unique_ptr<SaidaPaginas>(const QString& titulo, const QPageLayout& folha)> abrir;
};

// Why a print run did not start: escolherImpressao gave it nowhere to go.
inline const QString SemOndeImprimir = QStringLiteral("Não há impressora nem pasta onde escrever o PDF");

// The progress of a long run while it is made; closed when deleted.
class ProgressoListagem
{
public:
    virtual ~ProgressoListagem() = default;

    // Page `pagina` of `total` done.
    virtual void pagina(int pagina, int total) = 0;
};

// What the report engine needs of the station to show and print what it
// makes: preview windows, the printer (or PDF files when the machine has
// none) and the progress of a long run. The station's windows give it; the
// engine itself has no widget.
class DestinoRelatorios
{
public:
    virtual ~DestinoRelatorios() = default;

    // A document laid out in HTML, in a preview window that does not hold the
    // station up, with the request's title, position and state. Printed from
    // there, it goes where print runs go (escolherImpressao, with `pastaPdf`).
    virtual void mostrarDocumento(const QString& html, bool paisagem, const PedidoRelatorio& pedido,
                                  const QString& pastaPdf) = 0;
    // The pages of a long report in a preview window of their own, which
    // takes them and draws each page when it comes into view.
    virtual void mostrarPaginas(PaginasVisualizacao* paginas, const PedidoRelatorio& pedido) = 0;

    // Where a print run of the report `nome` goes: the station's printer,
    // or, when the machine has none, a new PDF file in `pastaPdf`, never over
    // another nor one promised to another run.
    virtual ImpressaoEscolhida escolherImpressao(const QString& nome, const QString& pastaPdf) = 0;
    // The run promised the file `pdf` has ended: `escrito` is the file it
    // wrote (that name, or the next free one), empty when it wrote none.
    virtual void pdfTerminado(const QString& pdf, const QString& escrito) = 0;

    // Shows the progress of the long run titled `titulo`. `cancelar` is
    // called when the operator cancels it, or the window that asked for it
    // is closed (and the progress with it); never once the answer is deleted.
    virtual std::unique_ptr<ProgressoListagem> abrirProgresso(const QString& titulo, std::function<void()> cancelar) = 0;
};
