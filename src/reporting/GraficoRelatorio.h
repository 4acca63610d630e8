#pragma once

#include <QList>
#include <QString>
#include <utility>

// The bar chart of a statistics report: one horizontal bar per group, its
// length the group's net weight scaled to the largest, with the group's name
// and weight beside it. Drawn into PNG images handed to the template as
// data: addresses; a long chart is cut into several images so it can run
// over pages.
struct ImagemGrafico
{
    QString endereco;  // "data:image/png;base64,..."
    int largura = 0;   // the size it is laid out at, in points of the page
    int altura = 0;
};

QList<ImagemGrafico> desenharGrafico(const QList<std::pair<QString, qint64>>& barras);
