#pragma once

#include "platform/Erro.h"
#include "reporting/DefinicaoRelatorio.h"
#include "reporting/FonteListagem.h"
#include "reporting/PaginacaoListagem.h"
#include "reporting/TextoPagina.h"

#include <QLineF>
#include <QList>
#include <QSizeF>
#include <QStringList>
#include <QTextDocument>
#include <functional>
#include <memory>

class QPainter;

// Lays a listing's pages out and paints them, in points: the heading of the
// first page (the definition's template, laid out once), the columns'
// headings at the top of every page of the table, the groups' names, the
// rows in ruled cells, the groups' and grand totals, the chart's bars and
// "Página n de m" at the foot. One object per thread.
class PintorListagem
{
public:
    // `area` is the page's printable area in points.
    PintorListagem(const DefinicaoRelatorio& definicao, const QSizeF& area);

    // The heading's HTML, the groups (for the chart's scale) and the totals.
    void preparar(const QString& cabecalho, const QList<FonteListagem::Grupo>& grupos, qint64 totalN,
                  qint64 totalLiquido);

    PaginacaoListagem::Medidas medidas();
    // The lines a row's text takes in column `coluna` (of the definition's columns).
    int linhas(int coluna, const QString& texto);
    // The lines a group's row takes in a totals-only listing.
    int linhasGrupo(const FonteListagem::Grupo& grupo);

    using Leitura = std::function<QList<QStringList>(qint64 de, qint64 ate)>;
    // Paints page `numero` (from 1) of `total`, with the origin at the top
    // left of the printable area and a unit of one point. `ler` gives the
    // rows' texts, one a column; `grupos` the groups in print order. The
    // rows are read before anything is painted: their failure (an Erro) is
    // thrown then, or, given `falha`, kept there, and the page painted with a
    // line in their place. False when the rows could not be read.
    bool pintar(QPainter& pintor, const PaginacaoListagem::Pagina& pagina, int numero, int total, const Leitura& ler,
                const QList<FonteListagem::Grupo>& grupos, Erro* falha = nullptr);

private:
    double larguraColuna(int i) const;
    // A row of a totals-only listing, a text a column: a group's, or the
    // grand total's with its text in the name's place.
    QStringList textosGrupo(const QString& valor, const QString& n, const QString& liquido) const;
    QStringList textosGrupo(const FonteListagem::Grupo& g) const;
    // The lines a row takes: those of its longest cell.
    int linhasTextos(const QStringList& textos);
    void linhaTabela(const QStringList& textos, double y, double altura, bool negrito);

    const DefinicaoRelatorio& m_definicao;
    QSizeF m_area;
    TextoPagina m_texto;
    QTextDocument m_cabecalho;
    double m_alturaCabecalho = 0;
    QStringList m_titulos;  // the columns' headings
    QString m_totalGeral;
    QString m_totalN, m_totalLiquido;
    qint64 m_maximoGrafico = 0;
    QList<QLineF> m_regras;  // the page's rules, drawn at the end
};
