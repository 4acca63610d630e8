#include "reporting/PintorListagem.h"

#include "platform/Conversoes.h"
#include "reporting/ComposicaoRelatorio.h"
#include "reporting/FolhaEstacao.h"
#include "reporting/GraficoRelatorio.h"

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace {

using PaginacaoListagem::Faixa;
using Tipo = Faixa::Tipo;

constexpr double Folga = 1.5;                // a cell's padding
constexpr double AntesGrupo = 4.5;           // the space above a group's name
constexpr double Regua = 6;                  // the space round the rule above the grand total
constexpr double ResolucaoCabecalho = ResolucaoPapel;  // the heading is laid out as on paper

// The heading is laid out against this, a device of paper's resolution.
const QPaintDevice& referencia()
{
    thread_local QImage imagem = [] {
        QImage i(1, 1, QImage::Format_RGB32);
        const int pontosPorMetro = qRound(ResolucaoCabecalho / 0.0254);
        i.setDotsPerMeterX(pontosPorMetro);
        i.setDotsPerMeterY(pontosPorMetro);
        return i;
    }();
    return imagem;
}

}  // namespace

PintorListagem::PintorListagem(const DefinicaoRelatorio& definicao, const QSizeF& area)
    : m_definicao(definicao),
      m_area(area)
{}

void PintorListagem::preparar(const QString& cabecalho, const QList<FonteListagem::Grupo>& grupos, qint64 totalN,
                              qint64 totalLiquido)
{
    prepararDocumento(m_cabecalho, cabecalho);
    m_cabecalho.documentLayout()->setPaintDevice(const_cast<QPaintDevice*>(&referencia()));
    m_cabecalho.setTextWidth(m_area.width() * ResolucaoCabecalho / 72);
    m_alturaCabecalho = m_cabecalho.size().height() * 72 / ResolucaoCabecalho;

    const QList<std::pair<QString, QString>> titulos = {{QStringLiteral("titulo"), m_definicao.titulo},
                                                        {QStringLiteral("subtitulo"), m_definicao.subtitulo}};
    m_titulos.clear();
    for (const ColunaListagem& c : m_definicao.colunas)
        m_titulos << comporTexto(c.titulo, titulos);
    m_totalN = QString::number(totalN);
    m_totalLiquido = Conversoes::textoPeso(totalLiquido);
    m_totalGeral = comporTexto(m_definicao.totalGeral, {{QStringLiteral("total_n"), m_totalN},
                                                        {QStringLiteral("total_liquido"), m_totalLiquido}});
    m_maximoGrafico = 0;
    for (const FonteListagem::Grupo& g : grupos)
        m_maximoGrafico = std::max(m_maximoGrafico, g.liquido);
}

double PintorListagem::larguraColuna(int i) const
{
    return m_area.width() * m_definicao.colunas[i].largura / 100;
}

int PintorListagem::linhas(int coluna, const QString& texto)
{
    return m_texto.linhas(texto, larguraColuna(coluna) - 2 * Folga);
}

int PintorListagem::linhasTextos(const QStringList& textos)
{
    int n = 1;
    for (int i = 0; i < textos.size(); ++i)
        n = std::max(n, linhas(i, textos[i]));
    return n;
}

int PintorListagem::linhasGrupo(const FonteListagem::Grupo& grupo)
{
    return linhasTextos(textosGrupo(grupo));
}

PaginacaoListagem::Medidas PintorListagem::medidas()
{
    const double linha = m_texto.alturaLinha();
    PaginacaoListagem::Medidas m;
    // "Página n de m" takes two lines at the foot.
    m.corpo = m_area.height() - (m_definicao.numerarPaginas ? 2 * linha : 0);
    m.cabecalho = m_alturaCabecalho;
    int linhasTitulos = 1;
    for (int i = 0; i < m_titulos.size(); ++i)
        linhasTitulos = std::max(linhasTitulos, m_texto.linhas(m_titulos[i], larguraColuna(i) - 2 * Folga, true));
    m.colunas = linhasTitulos * linha + 2 * Folga;
    m.linha = linha;
    m.margemLinha = 2 * Folga;
    m.grupo = AntesGrupo + linha + Folga;
    m.totalGrupo = linha + 2 * Folga;
    m.totalGeral = 2 * Regua + linha + 2 * Folga;
    m.semRegistos = linha + 2 * Regua;
    m.antesGrafico = 3 * linha;
    m.barra = GraficoRelatorio::AlturaBarra;
    return m;
}

QStringList PintorListagem::textosGrupo(const QString& valor, const QString& n, const QString& liquido) const
{
    QStringList textos;
    for (const ColunaListagem& c : m_definicao.colunas)
        textos << (c.campo == u"n" ? n : c.campo == u"liquido" ? liquido : valor);
    return textos;
}

QStringList PintorListagem::textosGrupo(const FonteListagem::Grupo& g) const
{
    return textosGrupo(FonteListagem::nome(g), QString::number(g.n), Conversoes::textoPeso(g.liquido));
}

// One ruled row of the table: a cell a column, the texts from its top.
void PintorListagem::linhaTabela(const QStringList& textos, double y, double altura, bool negrito)
{
    double x = 0;
    for (int i = 0; i < m_definicao.colunas.size(); ++i) {
        const double largura = larguraColuna(i);
        m_texto.escrever(textos.value(i), QRectF(x + Folga, y + Folga, largura - 2 * Folga, altura - 2 * Folga),
                         m_definicao.colunas[i].alinhamento, negrito);
        m_regras << QLineF(x, y, x, y + altura);
        x += largura;
    }
    m_regras << QLineF(x, y, x, y + altura) << QLineF(0, y, x, y) << QLineF(0, y + altura, x, y + altura);
}

bool PintorListagem::pintar(QPainter& pintor, const PaginacaoListagem::Pagina& pagina, int numero, int total,
                            const Leitura& ler, const QList<FonteListagem::Grupo>& grupos, Erro* falha)
{
    const double linha = m_texto.alturaLinha();
    const double largura = m_area.width();
    const bool porGrupos = !m_definicao.grupo.isEmpty() && !m_definicao.detalhe;
    const double colunaTotal = largura * 0.8;
    // The rows of each band of rows, in order; a totals-only listing reads none.
    QList<QList<QStringList>> lidas;
    bool semLinhas = false;
    if (!porGrupos) {
        try {
            for (const Faixa& f : pagina.faixas) {
                if (f.tipo == Tipo::Registos)
                    lidas << ler(f.de, f.ate);
            }
        } catch (const Erro& e) {
            if (!falha)
                throw;
            *falha = e;
            semLinhas = true;
        }
    }
    qsizetype faixaLida = 0;
    for (const Faixa& f : pagina.faixas) {
        switch (f.tipo) {
        case Tipo::Cabecalho: {
            pintor.save();
            pintor.translate(0, f.y);
            pintor.scale(72 / ResolucaoCabecalho, 72 / ResolucaoCabecalho);
            QAbstractTextDocumentLayout::PaintContext contexto;
            m_cabecalho.documentLayout()->draw(&pintor, contexto);
            pintor.restore();
            break;
        }
        case Tipo::Colunas: linhaTabela(m_titulos, f.y, f.altura, true); break;
        case Tipo::Grupo:
            m_texto.escrever(FonteListagem::nome(grupos[f.grupo]), QRectF(0, f.y + AntesGrupo, largura, linha),
                             Qt::AlignLeft, true);
            break;
        case Tipo::Registos: {
            if (semLinhas) {
                // Said once, where the page's rows begin.
                if (faixaLida++ == 0)
                    m_texto.escrever(QStringLiteral("As linhas desta página não puderam ser lidas."),
                                     QRectF(0, f.y + Folga, largura, linha), Qt::AlignLeft, true);
                break;
            }
            QList<QStringList> filas;
            if (porGrupos) {
                for (qint64 g = f.de; g < f.ate; ++g)
                    filas << textosGrupo(grupos[int(g)]);
            } else {
                filas = lidas.value(faixaLida++);
            }
            double y = f.y;
            for (const QStringList& textos : std::as_const(filas)) {
                const double a = linhasTextos(textos) * linha + 2 * Folga;
                linhaTabela(textos, y, a, false);
                y += a;
            }
            break;
        }
        case Tipo::TotalGrupo: {
            const FonteListagem::Grupo& g = grupos[f.grupo];
            const QString texto =
                comporTexto(m_definicao.totalGrupo, {{QStringLiteral("valor"), FonteListagem::nome(g)},
                                                     {QStringLiteral("n"), QString::number(g.n)},
                                                     {QStringLiteral("liquido"), Conversoes::textoPeso(g.liquido)}});
            m_texto.escrever(texto, QRectF(0, f.y + Folga, colunaTotal - 2 * Folga, linha), Qt::AlignRight);
            m_texto.escrever(Conversoes::textoPeso(g.liquido),
                             QRectF(colunaTotal, f.y + Folga, largura - colunaTotal - Folga, linha), Qt::AlignRight,
                             true);
            break;
        }
        case Tipo::TotalGeral:
            if (porGrupos) {
                linhaTabela(textosGrupo(m_totalGeral, m_totalN, m_totalLiquido), f.y, linha + 2 * Folga, true);
            } else {
                m_regras << QLineF(0, f.y + Regua, largura, f.y + Regua);
                const double y = f.y + 2 * Regua + Folga;
                m_texto.escrever(m_totalGeral, QRectF(0, y, colunaTotal - 2 * Folga, linha), Qt::AlignRight, true);
                m_texto.escrever(m_totalLiquido, QRectF(colunaTotal, y, largura - colunaTotal - Folga, linha),
                                 Qt::AlignRight, true);
            }
            break;
        case Tipo::SemRegistos:
            m_texto.escrever(comporTexto(m_definicao.semRegistos, {{QStringLiteral("titulo"), m_definicao.titulo}}),
                             QRectF(0, f.y + Regua, largura, linha), Qt::AlignLeft);
            break;
        case Tipo::Barras:
            if (f.ate > f.de)
                m_regras << QLineF(GraficoRelatorio::Rotulos, f.y, GraficoRelatorio::Rotulos, f.y + f.altura);
            for (qint64 g = f.de; g < f.ate; ++g) {
                const FonteListagem::Grupo& grupo = grupos[int(g)];
                GraficoRelatorio::desenharBarra(pintor, m_texto,
                                                QRectF(0, f.y + double(g - f.de) * GraficoRelatorio::AlturaBarra,
                                                       largura, GraficoRelatorio::AlturaBarra),
                                                FonteListagem::nome(grupo), grupo.liquido, m_maximoGrafico);
            }
            break;
        }
    }
    if (m_definicao.numerarPaginas)
        m_texto.escrever(QStringLiteral("Página %1 de %2").arg(numero).arg(total),
                         QRectF(0, m_area.height() - linha, largura, linha), Qt::AlignRight);

    // One path for all the rules: a PDF takes it far faster than line by line.
    QPainterPath regras;
    for (const QLineF& l : std::as_const(m_regras)) {
        regras.moveTo(l.p1());
        regras.lineTo(l.p2());
    }
    pintor.strokePath(regras, QPen(Qt::darkGray, 0.75));
    m_regras.clear();
    m_texto.desenhar(pintor);
    return !semLinhas;
}
