#include "reporting/TrabalhoRelatorio.h"

#include "platform/Erro.h"
#include "platform/Relatorio.h"
#include "reporting/ComposicaoRelatorio.h"
#include "reporting/FolhaEstacao.h"
#include "reporting/FonteListagem.h"
#include "reporting/PintorListagem.h"

#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <vector>

TrabalhoRelatorio::TrabalhoRelatorio(const DefinicaoRelatorio& definicao, const FormulaSeleccao::Clausula& seleccao,
                                     const QString& ficheiroBd, const QDateTime& agora)
    : m_definicao(definicao),
      m_seleccao(seleccao),
      m_ficheiroBd(ficheiroBd),
      m_agora(agora),
      m_folha(folhaDaEstacao(definicao.paisagem))
{}

TrabalhoRelatorio::~TrabalhoRelatorio() = default;

void TrabalhoRelatorio::preparar()
{
    using PaginacaoListagem::Conteudo;
    try {
        m_fonte = std::make_unique<FonteListagem>(m_definicao, m_ficheiroBd);
        m_fonte->copiar(m_seleccao, cancelado);
        const QString cabecalho =
            comporCabecalho(m_definicao, m_seleccao, m_fonte->empresa(), m_agora, m_fonte->registos() == 0);
        m_pintor = std::make_unique<PintorListagem>(m_definicao, m_folha.paintRect(QPageLayout::Point).size());
        m_pintor->preparar(cabecalho, m_fonte->grupos(), m_fonte->registos(), m_fonte->liquido());

        Conteudo c;
        const auto& grupos = m_fonte->grupos();
        std::vector<quint8> linhas;
        if (!m_definicao.grupo.isEmpty() && !m_definicao.detalhe) {
            c.forma = Conteudo::Forma::TotaisGrupos;
            c.registos = grupos.size();
            for (const FonteListagem::Grupo& g : grupos)
                linhas.push_back(quint8(std::min(m_pintor->linhasGrupo(g), 255)));
        } else {
            c.forma = m_definicao.grupo.isEmpty() ? Conteudo::Forma::Registos : Conteudo::Forma::Grupos;
            c.registos = m_fonte->registos();
            for (const FonteListagem::Grupo& g : grupos)
                c.tamanhosGrupos << g.n;
            linhas = m_fonte->linhasPorRegisto(
                [this](int coluna, const QString& texto) { return m_pintor->linhas(coluna, texto); }, cancelado);
        }
        c.linhasRegisto = [&linhas](qint64 r) { return int(linhas.at(size_t(r))); };
        c.totalGeral = !m_definicao.totalGeral.isEmpty();
        c.grafico = m_definicao.grafico;
        c.semRegistos = !m_definicao.semRegistos.isEmpty();
        m_paginas = PaginacaoListagem::paginar(c, m_pintor->medidas());
    } catch (const Erro& e) {
        libertar();
        Q_EMIT terminado(cancelado ? EstadoRelatorio::Cancelado : EstadoRelatorio::ErroBaseDados, e);
        return;
    }
    if (cancelado) {
        libertar();
        Q_EMIT terminado(EstadoRelatorio::Cancelado, {});
        return;
    }
    Q_EMIT preparado(int(m_paginas.size()));
}

bool TrabalhoRelatorio::pintarPagina(QPainter& pintor, int pagina, Erro* falha)
{
    return m_pintor->pintar(
        pintor, m_paginas[pagina], pagina + 1, int(m_paginas.size()),
        [this](qint64 de, qint64 ate) { return m_fonte->ler(de, ate); }, m_fonte->grupos(), falha);
}

void TrabalhoRelatorio::imprimir(const ImpressaoEscolhida& impressao, int copias)
{
    if (!m_pintor) {
        Q_EMIT terminado(EstadoRelatorio::FalhaImpressao,
                         {ErroImpressora, QStringLiteral("Nada preparado para imprimir")});
        return;
    }
    const std::unique_ptr<SaidaPaginas> saida = impressao.abrir(m_definicao.nome, m_folha);
    QPagedPaintDevice* dispositivo = saida->dispositivo();
    QPainter pintor;
    if (!dispositivo || !pintor.begin(dispositivo)) {
        const QString porque = saida->verificar();
        Q_EMIT terminado(EstadoRelatorio::FalhaImpressao,
                         {ErroImpressora, porque.isEmpty() ? QStringLiteral("As páginas não puderam ser começadas") : porque});
        return;
    }
    // Points of the page; a printer whose margins are wider gets the page a little smaller.
    const QSizeF nossa = m_folha.paintRect(QPageLayout::Point).size();
    const QSizeF dela = dispositivo->pageLayout().paintRect(QPageLayout::Point).size();
    const double escala = dispositivo->logicalDpiX() / 72.0
                          * std::min({1.0, dela.width() / nossa.width(), dela.height() / nossa.height()});
    const int paginas = int(m_paginas.size());
    const int total = paginas * copias;
    try {
        for (int feitas = 0; feitas < total; ++feitas) {
            if (cancelado) {
                saida->desistir();
                pintor.end();
                Q_EMIT terminado(EstadoRelatorio::Cancelado, {});
                return;
            }
            if (feitas > 0) {
                // The page before has gone out: where it could not, the run stops here, saying why.
                if (const QString porque = saida->verificar(); !porque.isEmpty())
                    throw Erro{ErroImpressora, porque};
                if (!dispositivo->newPage())
                    throw Erro{ErroImpressora,
                               QStringLiteral("A página %1 não pôde ser começada").arg(feitas % paginas + 1)};
            }
            pintor.save();
            pintor.scale(escala, escala);
            pintarPagina(pintor, feitas % paginas);
            pintor.restore();
            Q_EMIT progresso(feitas + 1, total);
        }
    } catch (const Erro& e) {
        saida->desistir();
        pintor.end();
        // The printer's and the file's failures carry their own number; any other is the rows'.
        Q_EMIT terminado(e.numero == ErroImpressora ? EstadoRelatorio::FalhaImpressao : EstadoRelatorio::ErroBaseDados,
                         e);
        return;
    }
    const bool acabadas = pintor.end();
    const QString porque = acabadas ? saida->concluir() : saida->verificar();
    if (!acabadas || !porque.isEmpty()) {
        Q_EMIT terminado(EstadoRelatorio::FalhaImpressao,
                         {ErroImpressora, porque.isEmpty() ? QStringLiteral("As páginas não puderam ser acabadas") : porque});
        return;
    }
    // On to the printer, waiting here for its answer while "Cancelar" may end the wait.
    QString recusa;
    if (const int estado = saida->entregar(cancelado, recusa); estado != EstadoRelatorio::Executado) {
        Q_EMIT terminado(estado, estado == EstadoRelatorio::Cancelado ? Erro{} : Erro{ErroImpressora, recusa});
        return;
    }
    if (const QString pdf = saida->ficheiro(); !pdf.isEmpty())
        Q_EMIT escrito(pdf);
    Q_EMIT terminado(EstadoRelatorio::Executado, {});
}

void TrabalhoRelatorio::desenhar(int pagina, int largura)
{
    if (!m_pintor || pagina < 0 || pagina >= m_paginas.size() || largura <= 0)
        return;
    const QSizeF papel = m_folha.fullRect(QPageLayout::Point).size();
    const double escala = largura / papel.width();
    QImage imagem(largura, int(papel.height() * escala + 0.5), QImage::Format_RGB32);
    imagem.fill(Qt::white);
    Erro falha;
    bool lidas = true;
    {
        QPainter pintor(&imagem);
        pintor.setRenderHint(QPainter::Antialiasing);
        pintor.scale(escala, escala);
        pintor.translate(m_folha.paintRect(QPageLayout::Point).topLeft());
        lidas = pintarPagina(pintor, pagina, &falha);
    }
    Q_EMIT desenhada(pagina, largura, imagem);
    if (!lidas) {
        qWarning("report page %d drawn without its rows: %s", pagina + 1, qPrintable(falha.descricao));
        Q_EMIT paginaSemLinhas(pagina, falha);
    }
}

void TrabalhoRelatorio::libertar()
{
    m_pintor.reset();
    m_fonte.reset();
}
