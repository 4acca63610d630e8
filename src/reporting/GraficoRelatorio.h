#pragma once

#include <QRectF>
#include <QString>

class QPainter;
class TextoPagina;

// The bar chart of a statistics report: one horizontal bar a group, its
// length the group's net weight scaled to the largest (nothing below zero),
// with the group's name before it and its weight after it.
namespace GraficoRelatorio {

// The height of one bar's line, and the width of the names before the bars, in points.
constexpr double AlturaBarra = 16.5;
constexpr double Rotulos = 210;

// One group's bar across `linha` (points of the page).
void desenharBarra(QPainter& pintor, TextoPagina& texto, const QRectF& linha, const QString& nome, qint64 valor,
                   qint64 maximo);

}  // namespace GraficoRelatorio
