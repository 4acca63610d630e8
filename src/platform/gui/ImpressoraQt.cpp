#include "platform/gui/ImpressoraQt.h"

#include "platform/Relogio.h"
#include "platform/gui/JanelaVisualizacao.h"
#include "platform/gui/ProgressoRelatorio.h"
#include "platform/gui/SaidaImpressao.h"
#include "reporting/FolhaEstacao.h"
#include "reporting/ImpressaoDocumento.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace {

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

ImpressoraQt::ImpressoraQt(const Relogio& relogio) : m_relogio(relogio) {}

ImpressoraQt::~ImpressoraQt() = default;

QWidget* ImpressoraQt::janelaPai() const
{
    QWidget* pai = QApplication::activeModalWidget();
    // A report's progress is never a parent: the window that asked for it is.
    while (qobject_cast<ProgressoRelatorio*>(pai))
        pai = pai->parentWidget();
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

ImpressaoEscolhida ImpressoraQt::escolherImpressao(const QString& nome, const QString& pastaPdf)
{
    ImpressaoEscolhida escolhida;
    const QPrinterInfo impressora = impressoraPorDefeito();
    if (impressora.isNull()) {
        escolhida.pdf = reservarPdf(pastaPdf, nome);
        if (escolhida.pdf.isEmpty())
            return escolhida;
    }
    escolhida.abrir = [impressora, pdf = escolhida.pdf](const QString& titulo, const QPageLayout& folha) {
        return std::unique_ptr<SaidaPaginas>(std::make_unique<SaidaImpressao>(impressora, pdf, titulo, folha));
    };
    return escolhida;
}

void ImpressoraQt::mostrarDocumento(const QString& html, bool paisagem, const PedidoRelatorio& pedido)
{
    auto* janela = new QPrintPreviewDialog(janelaPai());
    janela->setAttribute(Qt::WA_DeleteOnClose);
    janela->setModal(false);
    janela->printer()->setPageLayout(folhaDaEstacao(paisagem));
    janela->printer()->setCopyCount(1);
    // The rows were read at the run; the layout is made again for each repaint.
    QObject::connect(janela, &QPrintPreviewDialog::paintRequested, janela,
                     [html](QPrinter* impressora) { pintarDocumento(html, *impressora, 1); });
    abrirJanela(*janela, pedido);
    m_ultimaJanela = janela;
}

void ImpressoraQt::mostrarPaginas(PaginasVisualizacao* paginas, const PedidoRelatorio& pedido)
{
    auto* janela = new JanelaVisualizacao(paginas, janelaPai());
    abrirJanela(*janela, pedido);
    m_ultimaVisualizacao = janela;
}

std::unique_ptr<ProgressoListagem> ImpressoraQt::abrirProgresso(const QString& titulo, std::function<void()> cancelar)
{
    // Printed from its preview: over the preview, the window that asked.
    QWidget* pai = qobject_cast<JanelaVisualizacao*>(QApplication::activeWindow());
    return ProgressoRelatorio::abrir(titulo, pai ? pai : janelaPai(), std::move(cancelar));
}
