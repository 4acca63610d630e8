#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QHash>
#include <QList>
#include <QRawFont>
#include <QRectF>
#include <QString>
#include <array>
#include <utility>

class QPainter;

// The text of a listing's pages, laid out by hand in points: each text is
// broken into lines that fit its width (at blanks, or inside a word wider
// than the line), its glyphs looked up once per distinct text, and a page's
// text drawn at the end in one glyph run per font, which a PDF takes in a
// fraction of the time of a drawText per cell. A text with a character the
// station's font lacks goes through drawText with the system's fallback.
// One object per thread: it keeps its fonts and what it has measured.
class TextoPagina
{
public:
    // DejaVu Sans at 9.5 points, regular and bold.
    TextoPagina();

    double alturaLinha() const { return m_alturaLinha; }
    double largura(const QString& texto, bool negrito = false);
    // The number of lines the text takes in `largura` (at least one).
    int linhas(const QString& texto, double largura, bool negrito = false);
    // The lines, as the text breaks them.
    QStringList quebrar(const QString& texto, double largura, bool negrito = false);

    // Writes the text into the box, its lines from the top, each aligned
    // across the box's width; what does not fit under the box is not written.
    void escrever(const QString& texto, const QRectF& caixa, Qt::Alignment alinhamento, bool negrito = false);
    // Draws what was written since the last call, and forgets it.
    void desenhar(QPainter& pintor);

private:
    struct Forma
    {
        QList<quint32> glifos;  // one a character; empty when the font lacks one
        QList<double> avancos;  // one a character
    };
    using Troco = std::pair<qsizetype, qsizetype>;  // [start, end) of a line in the text

    // Looked up once and kept, for the texts that are drawn.
    const Forma& forma(const QString& texto, bool negrito);
    Forma formar(const QString& texto, bool negrito) const;
    QList<Troco> trocos(const Forma& f, const QString& texto, double largura) const;

    std::array<QRawFont, 2> m_fontes;
    std::array<QFont, 2> m_fontesSistema;  // for the texts the glyph runs cannot take
    std::array<QHash<QString, Forma>, 2> m_formas;
    double m_ascendente = 0;
    double m_alturaLinha = 0;
    std::array<QList<quint32>, 2> m_glifos;
    std::array<QList<QPointF>, 2> m_posicoes;
    struct Lento
    {
        QString texto;
        QPointF base;
        bool negrito;
    };
    QList<Lento> m_lentos;
};
