#include "reporting/ExecucaoListagem.h"

#include "reporting/DestinoRelatorios.h"
#include "reporting/TrabalhoRelatorio.h"

#include <QFileInfo>

#include <utility>

ExecucaoListagem::ExecucaoListagem(const DefinicaoRelatorio& definicao, const FormulaSeleccao::Clausula& seleccao,
                                   const QString& ficheiroBd, const QDateTime& agora, const PedidoRelatorio& pedido,
                                   DestinoRelatorios& saida, const QString& pastaPdf, QObject* pai)
    : PaginasVisualizacao(pai),
      m_nome(QFileInfo(definicao.nome).completeBaseName()),
      m_titulo(definicao.titulo),
      m_pedido(pedido),
      m_saida(saida),
      m_pastaPdf(pastaPdf),
      m_trabalho(new TrabalhoRelatorio(definicao, seleccao, ficheiroBd, agora))
{
    m_fio.setObjectName(QStringLiteral("relatorio ") + m_nome);
    m_trabalho->moveToThread(&m_fio);
    connect(m_trabalho, &TrabalhoRelatorio::preparado, this, &ExecucaoListagem::preparado);
    connect(m_trabalho, &TrabalhoRelatorio::escrito, this, [this](const QString& ficheiro) { m_escrito = ficheiro; });
    connect(m_trabalho, &TrabalhoRelatorio::terminado, this, &ExecucaoListagem::fimDoTrabalho);
    connect(m_trabalho, &TrabalhoRelatorio::desenhada, this, &PaginasVisualizacao::desenhada);
    connect(m_trabalho, &TrabalhoRelatorio::paginaSemLinhas, this, [this](int, const Erro& falha) {
        if (!std::exchange(m_paginaFalhou, true))
            Q_EMIT paginaFalhou(EstadoRelatorio::ErroBaseDados, falha);
    });
    connect(m_trabalho, &TrabalhoRelatorio::progresso, this, [this](int pagina, int total) {
        if (m_progresso)
            m_progresso->pagina(pagina, total);
    });
}

ExecucaoListagem::~ExecucaoListagem()
{
    m_trabalho->cancelado = true;
    if (m_fio.isRunning()) {
        // The connection is closed in the thread that opened it.
        QMetaObject::invokeMethod(m_trabalho, &TrabalhoRelatorio::libertar, Qt::BlockingQueuedConnection);
        m_fio.quit();
        m_fio.wait();
    }
    delete m_trabalho;
    fecharProgresso();
    if (!m_pdf.isEmpty())
        m_saida.pdfTerminado(m_pdf, QString());
}

QSizeF ExecucaoListagem::tamanho() const
{
    return m_trabalho->folha().fullRect(QPageLayout::Point).size();
}

void ExecucaoListagem::mostrarProgresso()
{
    fecharProgresso();
    m_progresso = m_saida.abrirProgresso(m_titulo, [this] { m_trabalho->cancelado = true; });
}

void ExecucaoListagem::fecharProgresso()
{
    m_progresso.reset();
}

void ExecucaoListagem::iniciar()
{
    mostrarProgresso();
    m_fio.start();
    QMetaObject::invokeMethod(m_trabalho, &TrabalhoRelatorio::preparar, Qt::QueuedConnection);
}

void ExecucaoListagem::preparado(int paginas)
{
    // Cancelled after the work was ready but before this was told: nothing to show.
    if (m_trabalho->cancelado) {
        fimDoTrabalho(EstadoRelatorio::Cancelado, {});
        return;
    }
    m_paginas = paginas;
    if (m_pedido.Destino == DestinoRelatorio::Janela) {
        fecharProgresso();
        m_mostrada = true;
        m_saida.mostrarPaginas(this, m_pedido);
        Q_EMIT terminada(EstadoRelatorio::Executado, {});
        return;
    }
    imprimirTudo(m_pedido.Copias);
}

void ExecucaoListagem::imprimir()
{
    if (m_aImprimir || m_paginas == 0)
        return;
    m_trabalho->cancelado = false;
    mostrarProgresso();
    imprimirTudo(1);
}

void ExecucaoListagem::imprimirTudo(int copias)
{
    const ImpressaoEscolhida impressao = m_saida.escolherImpressao(m_nome, m_pastaPdf);
    if (!impressao.abrir) {
        fimDoTrabalho(EstadoRelatorio::FalhaImpressao,
                      {ErroImpressora, SemOndeImprimir});
        return;
    }
    m_pdf = impressao.pdf;
    m_escrito.clear();
    m_aImprimir = true;
    QMetaObject::invokeMethod(
        m_trabalho, [t = m_trabalho, impressao, copias] { t->imprimir(impressao, copias); }, Qt::QueuedConnection);
}

void ExecucaoListagem::pedir(int pagina, int largura)
{
    QMetaObject::invokeMethod(
        m_trabalho, [t = m_trabalho, pagina, largura] { t->desenhar(pagina, largura); }, Qt::QueuedConnection);
}

void ExecucaoListagem::fimDoTrabalho(int estado, const Erro& falha)
{
    fecharProgresso();
    m_aImprimir = false;
    if (!m_pdf.isEmpty()) {
        m_saida.pdfTerminado(m_pdf, estado == EstadoRelatorio::Executado ? m_escrito : QString());
        m_pdf.clear();
    }
    Q_EMIT terminada(estado, falha);
    // A preview keeps its pages; anything else is over.
    if (!m_mostrada)
        deleteLater();
}
