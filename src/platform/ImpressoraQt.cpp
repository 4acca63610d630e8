#include "platform/ImpressoraQt.h"

#include "platform/ComposicaoRelatorio.h"
#include "platform/DefinicaoRelatorio.h"
#include "platform/FormulaSeleccao.h"
#include "platform/Relogio.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScopedValueRollback>
#include <QSqlQuery>
#include <QTextDocument>

#include <exception>

namespace {

Q_LOGGING_CATEGORY(diarioImpressora, "zumarel.impressora")

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
bool imprimirPaginas(QTextDocument& documento, QPrinter& impressora, int copias)
{
    QPainter pintor;
    if (!pintor.begin(&impressora))
        return false;
    documento.documentLayout()->setPaintDevice(&impressora);
    const QRectF area = impressora.pageLayout().paintRectPixels(impressora.resolution());
    const QSizeF pagina(std::max<qreal>(area.width(), 1), std::max<qreal>(area.height(), 1));
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
        }
    }
    return pintor.end();
}

}  // namespace

ImpressoraQt::ImpressoraQt(std::function<QSqlDatabase()> baseDados, const Relogio& relogio)
    : m_baseDados(std::move(baseDados)), m_relogio(relogio)
{
}

ImpressoraQt::~ImpressoraQt() = default;

int ImpressoraQt::ExecutarRelatorio(const PedidoRelatorio& pedido)
{
    // One request at a time.
    if (m_ocupada) {
        qCWarning(diarioImpressora) << pedido.FicheiroRelatorio << "refused: another report is running";
        return EstadoRelatorio::FalhaImpressao;
    }
    const QScopedValueRollback<bool> ocupada(m_ocupada, true);
    int estado = EstadoRelatorio::FalhaImpressao;
    QString motivo;
    try {
        estado = executar(pedido, motivo);
    } catch (const std::exception& e) {
        // It runs inside the bridges' ticks too: nothing may escape.
        motivo = QString::fromLocal8Bit(e.what());
    }
    if (estado != EstadoRelatorio::Executado)
        qCWarning(diarioImpressora) << "report" << pedido.FicheiroRelatorio << "formula" << pedido.FormulaSeleccao
                                    << "status" << estado << motivo;
    return estado;
}

int ImpressoraQt::executar(const PedidoRelatorio& pedido, QString& motivo)
{
    if (pedido.Destino != DestinoRelatorio::Janela && pedido.Destino != DestinoRelatorio::Impressora)
        return EstadoRelatorio::DestinoDesconhecido;
    if (pedido.Destino == DestinoRelatorio::Impressora && pedido.Copias < 1)
        return EstadoRelatorio::Executado;

    DefinicaoRelatorio::Falha falha;
    const auto definicao = DefinicaoRelatorio::carregar(pedido.FicheiroRelatorio, &falha, &motivo);
    if (!definicao)
        return falha == DefinicaoRelatorio::Falha::EmFalta ? EstadoRelatorio::DefinicaoEmFalta
                                                           : EstadoRelatorio::DefinicaoInvalida;
    const auto seleccao = FormulaSeleccao::traduzir(pedido.FormulaSeleccao, definicao->tabela, &motivo);
    if (!seleccao)
        return EstadoRelatorio::FormulaRecusada;
    const auto composto = comporRelatorio(*definicao, *seleccao, m_baseDados(), m_relogio.agora(), &motivo);
    if (!composto)
        return EstadoRelatorio::ErroBaseDados;

    if (pedido.Destino == DestinoRelatorio::Janela) {
        mostrar(composto->html, definicao->paisagem, pedido);
        return EstadoRelatorio::Executado;
    }
    // A document with no row has nothing to put on paper.
    if (definicao->paginaPorRegisto && composto->registos == 0)
        return EstadoRelatorio::SemRegistos;
    return imprimir(composto->html, definicao->paisagem, QFileInfo(definicao->nome).completeBaseName(), pedido.Copias);
}

QString ImpressoraQt::proximoPdf(const QString& nome) const
{
    // The database's own file, as SQLite opened it (the connection's name may be a URI).
    QSqlQuery q(m_baseDados());
    if (!q.exec(QStringLiteral("PRAGMA database_list")))
        return {};
    QString ficheiro;
    while (q.next()) {
        if (q.value(1).toString() == u"main")
            ficheiro = q.value(2).toString();
    }
    if (ficheiro.isEmpty())
        return {};
    QDir pasta(QFileInfo(ficheiro).absoluteDir().filePath(QStringLiteral("impressos")));
    if (!pasta.mkpath(QStringLiteral(".")))
        return {};
    const QString base = nome + u'-' + m_relogio.agora().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString caminho = pasta.filePath(base + QStringLiteral(".pdf"));
    // Never over an earlier document.
    for (int n = 2; QFileInfo::exists(caminho); ++n)
        caminho = pasta.filePath(base + u'-' + QString::number(n) + QStringLiteral(".pdf"));
    return caminho;
}

int ImpressoraQt::imprimir(const QString& html, bool paisagem, const QString& nome, int copias)
{
    const QPrinterInfo destino = impressoraPorDefeito();
    QPrinter impressora(QPrinter::HighResolution);
    if (!destino.isNull()) {
        impressora.setPrinterName(destino.printerName());
    } else {
        const QString pdf = proximoPdf(nome);
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
    return imprimirPaginas(documento, impressora, copias) ? EstadoRelatorio::Executado
                                                          : EstadoRelatorio::FalhaImpressao;
}

void ImpressoraQt::mostrar(const QString& html, bool paisagem, const PedidoRelatorio& pedido)
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
    QObject::connect(janela, &QPrintPreviewDialog::paintRequested, janela, [html](QPrinter* impressora) {
        QTextDocument documento;
        prepararDocumento(documento, html);
        imprimirPaginas(documento, *impressora, 1);
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
