#include "platform/gui/ImpressoraQt.h"

#include "platform/Relogio.h"
#include "platform/gui/JanelaVisualizacao.h"
#include "platform/gui/SaidaImpressao.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextDocument>

namespace {

// Lays the document out on a device's pages, all its pages once per copy;
// false when the device cannot be painted on.
bool imprimirPaginas(QTextDocument& documento, QPagedPaintDevice& dispositivo, int copias)
{
    QPainter pintor;
    if (!pintor.begin(&dispositivo))
        return false;
    documento.documentLayout()->setPaintDevice(&dispositivo);
    const QRectF area = dispositivo.pageLayout().paintRectPixels(dispositivo.logicalDpiX());
    const QSizeF pagina(std::max<qreal>(area.width(), 1), std::max<qreal>(area.height(), 1));
    documento.setPageSize(pagina);
    const int paginas = documento.pageCount();
    bool primeira = true;
    for (int c = 0; c < copias; ++c) {
        for (int p = 0; p < paginas; ++p) {
            if (!primeira && !dispositivo.newPage())
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
        }
    }
    return pintor.end();
}

// Where a window opens: the request's position and state.
void abrirJanela(QWidget& janela, const PedidoRelatorio& pedido)
{
    janela.setWindowTitle(pedido.TituloJanela);
    janela.move(pedido.Esquerda, pedido.Topo);
    if (pedido.EstadoJanela == EstadoJanelaRelatorio::Maximizada)
        janela.showMaximized();
    else if (pedido.EstadoJanela == EstadoJanelaRelatorio::Minimizada)
        janela.showMinimized();
    else
        janela.show();
}

}  // namespace

void prepararDocumento(QTextDocument& documento, const QString& html)
{
    QFont letra(QStringLiteral("DejaVu Sans"));
    letra.setPointSizeF(9.5);
    documento.setDefaultFont(letra);
    documento.setDocumentMargin(0);
    documento.setHtml(html);
}

ImpressoraQt::ImpressoraQt(const Relogio& relogio) : m_relogio(relogio) {}

ImpressoraQt::~ImpressoraQt() = default;

QWidget* ImpressoraQt::janelaPai() const
{
    QWidget* pai = QApplication::activeModalWidget();
    return pai ? pai : m_janelaPrincipal.data();
}

JanelaVisualizacao* ImpressoraQt::ultimaVisualizacao() const
{
    return m_ultimaVisualizacao;
}

QString ImpressoraQt::reservarPdf(const QString& pastaPdf, const QString& nome)
{
    QDir pasta(pastaPdf);
    if (pastaPdf.isEmpty() || !pasta.mkpath(QStringLiteral(".")))
        return {};
    const QString base = nome + u'-' + m_relogio.agora().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString caminho = pasta.filePath(base + QStringLiteral(".pdf"));
    // Never over an earlier document, nor one still being written.
    for (int n = 2; QFileInfo::exists(caminho) || m_reservados.contains(caminho); ++n)
        caminho = pasta.filePath(base + u'-' + QString::number(n) + QStringLiteral(".pdf"));
    m_reservados.insert(caminho);
    return caminho;
}

void ImpressoraQt::pdfTerminado(const QString& caminho, bool escrito)
{
    m_reservados.remove(caminho);
    if (escrito)
        m_ultimoPdf = caminho;
}

int ImpressoraQt::imprimir(const QString& html, bool paisagem, const QString& nome, int copias, const QString& pastaPdf)
{
    const QPrinterInfo destino = impressoraPorDefeito();
    QString pdf;
    if (destino.isNull()) {
        pdf = reservarPdf(pastaPdf, nome);
        if (pdf.isEmpty())
            return EstadoRelatorio::FalhaImpressao;
    }
    const bool feito = [&] {
        SaidaImpressao saida(destino, pdf, nome, paisagem);
        QTextDocument documento;
        prepararDocumento(documento, html);
        return saida.dispositivo() && imprimirPaginas(documento, *saida.dispositivo(), copias) && saida.concluir();
    }();
    if (!pdf.isEmpty())
        pdfTerminado(pdf, feito);
    return feito ? EstadoRelatorio::Executado : EstadoRelatorio::FalhaImpressao;
}

void ImpressoraQt::mostrar(const QString& html, bool paisagem, const PedidoRelatorio& pedido)
{
    auto* janela = new QPrintPreviewDialog(janelaPai());
    janela->setAttribute(Qt::WA_DeleteOnClose);
    janela->setModal(false);
    prepararPagina(*janela->printer(), paisagem);
    janela->printer()->setCopyCount(1);
    // The rows were read at the run; the layout is made again for each repaint.
    QObject::connect(janela, &QPrintPreviewDialog::paintRequested, janela, [html](QPrinter* impressora) {
        QTextDocument documento;
        prepararDocumento(documento, html);
        imprimirPaginas(documento, *impressora, 1);
    });
    abrirJanela(*janela, pedido);
    m_ultimaJanela = janela;
}

JanelaVisualizacao* ImpressoraQt::mostrarPaginas(PaginasVisualizacao* paginas, const PedidoRelatorio& pedido)
{
    auto* janela = new JanelaVisualizacao(paginas, janelaPai());
    abrirJanela(*janela, pedido);
    m_ultimaVisualizacao = janela;
    return janela;
}
