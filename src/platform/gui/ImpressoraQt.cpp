#include "platform/gui/ImpressoraQt.h"

#include "platform/Mensagens.h"
#include "platform/Relogio.h"
#include "platform/gui/JanelaVisualizacao.h"
#include "platform/gui/ProgressoRelatorio.h"
#include "platform/impressao/FicheiroPdf.h"
#include "reporting/FolhaEstacao.h"
#include "reporting/ImpressaoDocumento.h"
#include "reporting/SaidaImpressao.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace {

Q_LOGGING_CATEGORY(diarioImpressora, "zumarel.relatorios")

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

// The preview dialog's own "Print", which would hand its pages to the print
// system unchecked.
QAction* accaoImprimir(QPrintPreviewDialog& janela)
{
    const QString texto = QCoreApplication::translate("QPrintPreviewDialog", "Print");
    for (QAction* accao : janela.findChildren<QAction*>()) {
        if (accao->text() == texto)
            return accao;
    }
    return nullptr;
}

}  // namespace

ImpressoraQt::ImpressoraQt(const Relogio& relogio, ServicoMensagens& mensagens)
    : m_relogio(relogio),
      m_mensagens(mensagens)
{}

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

void ImpressoraQt::pdfTerminado(const QString& pdf, const QString& escrito)
{
    m_reservados.remove(pdf);
    if (escrito.isEmpty())
        return;
    m_ultimoPdf = escrito;
    qCInfo(diarioImpressora).noquote() << QStringLiteral("PDF written: %1").arg(escrito);
}

ImpressaoEscolhida ImpressoraQt::escolherImpressao(const QString& nome, const QString& pastaPdf)
{
    ImpressaoEscolhida escolhida;
    // Decided here without a word on the network: a print system that is
    // there takes the print, whatever then becomes of it.
    if (const std::optional<ServidorCups> servidor = lugaresImpressao.servidor()) {
        const DestinoImpressao destino{*servidor, lugaresImpressao, esperaImpressao};
        escolhida.abrir = [fio = &m_fio, destino](const QString& titulo, const QPageLayout& folha) {
            return std::unique_ptr<SaidaPaginas>(std::make_unique<SaidaImpressao>(*fio, destino, titulo, folha));
        };
        return escolhida;
    }
    if (pastaPdf.isEmpty())
        return escolhida;
    // The first name free here and not promised to another run: a run
    // that finds it taken when it ends takes the next one then.
    const QString base = QDir(pastaPdf).filePath(nome + u'-' + m_relogio.agora().toString(QStringLiteral("yyyyMMdd-HHmmss")));
    int numero = 1;
    while (QFileInfo::exists(nomePdf(base, numero)) || m_reservados.contains(nomePdf(base, numero)))
        ++numero;
    escolhida.pdf = nomePdf(base, numero);
    m_reservados.insert(escolhida.pdf);
    escolhida.abrir = [base, numero](const QString& titulo, const QPageLayout& folha) {
        return std::unique_ptr<SaidaPaginas>(std::make_unique<SaidaImpressao>(base, numero, titulo, folha));
    };
    return escolhida;
}

void ImpressoraQt::mostrarDocumento(const QString& html, bool paisagem, const PedidoRelatorio& pedido,
                                    const QString& pastaPdf)
{
    auto* janela = new QPrintPreviewDialog(janelaPai());
    janela->setAttribute(Qt::WA_DeleteOnClose);
    janela->setModal(false);
    janela->printer()->setPageLayout(folhaDaEstacao(paisagem));
    // The rows were read at the run; the layout is made again for each repaint.
    QObject::connect(janela, &QPrintPreviewDialog::paintRequested, janela,
                     [html](QPrinter* impressora) { pintarDocumento(html, *impressora, 1); });
    // Printed from here, it goes where every print goes.
    if (QAction* imprimir = accaoImprimir(*janela)) {
        QObject::disconnect(imprimir, &QAction::triggered, janela, nullptr);
        const QString nome = QFileInfo(pedido.FicheiroRelatorio).completeBaseName();
        QObject::connect(imprimir, &QAction::triggered, janela,
                         [this, html, paisagem, nome, pastaPdf] { imprimirVisto(html, paisagem, nome, pastaPdf); });
    } else {
        qCWarning(diarioImpressora) << "the preview's print action was not found";
    }
    abrirJanela(*janela, pedido);
    m_ultimaJanela = janela;
}

void ImpressoraQt::imprimirVisto(const QString& html, bool paisagem, const QString& nome, const QString& pastaPdf)
{
    QString motivo;
    const int estado = imprimirDocumento(*this, html, paisagem, nome, 1, pastaPdf, motivo,
                                         [this, nome](int estado, const QString& motivo) { naoImpresso(nome, estado, motivo); });
    if (estado != EstadoRelatorio::EmCurso)
        naoImpresso(nome, estado, motivo);
}

void ImpressoraQt::naoImpresso(const QString& nome, int estado, const QString& motivo)
{
    if (estado == EstadoRelatorio::Executado || estado == EstadoRelatorio::Cancelado)
        return;
    qCWarning(diarioImpressora).noquote() << QStringLiteral("%1 printed from its preview: %2").arg(nome, motivo);
    // The station's error box, as for a weighing's document.
    m_mensagens.MsgBox(DocumentoNaoImpresso + QStringLiteral("\n\n(") + motivo + u')', Estilo::Exclamacao,
                       QStringLiteral("Erro ") + QString::number(ErroImpressora));
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
