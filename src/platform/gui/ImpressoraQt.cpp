#include "platform/gui/ImpressoraQt.h"

#include "platform/Relogio.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextDocument>

namespace {

// The same layout on every machine: a font that is always installed.
void prepararDocumento(QTextDocument& documento, const QString& html)
{
    QFont letra(QStringLiteral("DejaVu Sans"));
    letra.setPointSizeF(9.5);
    documento.setDefaultFont(letra);
    documento.setDocumentMargin(0);
    documento.setHtml(html);
}

void prepararImpressora(QPrinter& impressora, bool paisagem)
{
    impressora.setPageSize(QPageSize(QPageSize::A4));
    impressora.setPageOrientation(paisagem ? QPageLayout::Landscape : QPageLayout::Portrait);
    impressora.setPageMargins(QMarginsF(15, 12, 15, 12), QPageLayout::Millimeter);
    impressora.setCopyCount(1);
}

// Lays the document out on a printer's pages, all its pages once per copy;
// false when the printer cannot be painted on.
bool imprimirPaginas(QTextDocument& documento, QPrinter& impressora, int copias, bool numerar = false)
{
    QPainter pintor;
    if (!pintor.begin(&impressora))
        return false;
    documento.documentLayout()->setPaintDevice(&impressora);
    const QRectF area = impressora.pageLayout().paintRectPixels(impressora.resolution());
    // The page number takes a line at the foot of the printable area.
    const qreal rodape = numerar ? QFontMetricsF(documento.defaultFont(), &impressora).height() * 2 : 0;
    const QSizeF pagina(std::max<qreal>(area.width(), 1), std::max<qreal>(area.height() - rodape, 1));
    documento.setPageSize(pagina);
    const int paginas = documento.pageCount();
    bool primeira = true;
    for (int c = 0; c < copias; ++c) {
        for (int p = 0; p < paginas; ++p) {
            if (!primeira && !impressora.newPage())
                return false;
            primeira = false;
            pintor.save();
            const QRectF corte(0, p * pagina.height(), pagina.width(), pagina.height());
            pintor.translate(0, -corte.top());
            pintor.setClipRect(corte);
            QAbstractTextDocumentLayout::PaintContext contexto;
            contexto.clip = corte;
            documento.documentLayout()->draw(&pintor, contexto);
            pintor.restore();
            if (numerar) {
                pintor.save();
                pintor.setFont(QFont(documento.defaultFont(), &impressora));
                pintor.drawText(QRectF(0, pagina.height(), pagina.width(), rodape), Qt::AlignRight | Qt::AlignBottom,
                                QStringLiteral("Página %1 de %2").arg(p + 1).arg(paginas));
                pintor.restore();
            }
        }
    }
    return pintor.end();
}

}  // namespace

ImpressoraQt::ImpressoraQt(const Relogio& relogio) : m_relogio(relogio) {}

ImpressoraQt::~ImpressoraQt() = default;

QString ImpressoraQt::proximoPdf(const QString& pastaPdf, const QString& nome) const
{
    QDir pasta(pastaPdf);
    if (pastaPdf.isEmpty() || !pasta.mkpath(QStringLiteral(".")))
        return {};
    const QString base = nome + u'-' + m_relogio.agora().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString caminho = pasta.filePath(base + QStringLiteral(".pdf"));
    // Never over an earlier document.
    for (int n = 2; QFileInfo::exists(caminho); ++n)
        caminho = pasta.filePath(base + u'-' + QString::number(n) + QStringLiteral(".pdf"));
    return caminho;
}

int ImpressoraQt::imprimir(const QString& html, bool paisagem, const QString& nome, int copias, const QString& pastaPdf,
                           bool numerarPaginas)
{
    const QPrinterInfo destino = impressoraPorDefeito();
    QPrinter impressora(QPrinter::HighResolution);
    if (!destino.isNull()) {
        impressora.setPrinterName(destino.printerName());
    } else {
        const QString pdf = proximoPdf(pastaPdf, nome);
        if (pdf.isEmpty())
            return EstadoRelatorio::FalhaImpressao;
        impressora.setOutputFormat(QPrinter::PdfFormat);
        impressora.setOutputFileName(pdf);
        m_ultimoPdf = pdf;
    }
    impressora.setDocName(nome);
    prepararImpressora(impressora, paisagem);
    QTextDocument documento;
    prepararDocumento(documento, html);
    return imprimirPaginas(documento, impressora, copias, numerarPaginas) ? EstadoRelatorio::Executado
                                                                          : EstadoRelatorio::FalhaImpressao;
}

void ImpressoraQt::mostrar(const QString& html, bool paisagem, const PedidoRelatorio& pedido, bool numerarPaginas)
{
    // Belongs to the modal window that asked, if any, so it is not blocked by it.
    QWidget* pai = QApplication::activeModalWidget();
    if (!pai)
        pai = m_janelaPrincipal;
    auto* janela = new QPrintPreviewDialog(pai);
    janela->setAttribute(Qt::WA_DeleteOnClose);
    janela->setModal(false);
    janela->setWindowTitle(pedido.TituloJanela);
    prepararImpressora(*janela->printer(), paisagem);
    // The rows were read at the run; the layout is made again for each repaint.
    QObject::connect(janela, &QPrintPreviewDialog::paintRequested, janela,
                     [html, numerarPaginas](QPrinter* impressora) {
                         QTextDocument documento;
                         prepararDocumento(documento, html);
                         imprimirPaginas(documento, *impressora, 1, numerarPaginas);
                     });
    janela->move(pedido.Esquerda, pedido.Topo);
    if (pedido.EstadoJanela == EstadoJanelaRelatorio::Maximizada)
        janela->showMaximized();
    else if (pedido.EstadoJanela == EstadoJanelaRelatorio::Minimizada)
        janela->showMinimized();
    else
        janela->show();
    m_ultimaJanela = janela;
}
