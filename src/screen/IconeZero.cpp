#include "screen/IconeZero.h"

#include <QPainter>
#include <QPixmap>

QIcon DesenharZero(int lado)
{
    QPixmap imagem(lado, lado);
    imagem.fill(Qt::transparent);
    QPainter p(&imagem);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal l = lado;
    p.setPen(QPen(QColor(0, 90, 170), l * 0.08));
    p.setBrush(QColor(230, 240, 255));
    p.drawEllipse(QRectF(l * 0.06, l * 0.06, l * 0.88, l * 0.88));
    p.setPen(QPen(Qt::black, l * 0.12));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(l * 0.34, l * 0.24, l * 0.32, l * 0.52));
    return QIcon(imagem);
}
